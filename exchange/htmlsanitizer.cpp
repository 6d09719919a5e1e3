#include "exchange/htmlsanitizer.h"

#include <QHash>
#include <QRegularExpression>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextTable>
#include <QVariant>
#include <QVector>

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace {

// Layout cost in units of one plain character laid out; what lies in a table is laid out
// about twice for each table around it. The budget lays out in about half a second.
constexpr qint64 costBudget = 1000000;
constexpr qint64 tagCost = 64;
// Breaking lines takes time with the square of a run it cannot break; a tag in such a
// run costs about as much as a few characters.
constexpr int unbrokenRun = 20000;
constexpr int tagInRun = 8;

bool isOneOf(const QString &name, std::initializer_list<const char *> names)
{
    for (const char *n : names) {
        if (name == QLatin1String(n))
            return true;
    }
    return false;
}

// Lines break at these, and in the plain text they start a line.
bool isBreaking(const QString &name)
{
    return isOneOf(name, {"br", "p",  "div", "li", "tr",         "td",  "th", "table", "hr", "h1", "h2",
                          "h3", "h4", "h5",  "h6", "blockquote", "pre", "ul", "ol",    "dl", "dt", "dd"});
}

// Qt's block elements: a new paragraph closes the one it finds above any others.
bool isBlock(const QString &name)
{
    return isOneOf(name, {"blockquote", "body", "caption", "center", "dd", "div", "dl",  "dt", "h1", "h2", "h3", "h4",
                          "h5",         "h6",   "hr",      "li",     "ol", "p",   "pre", "qt", "td", "th", "ul"});
}

// Where Qt lets an element stand; elsewhere it goes to the nearest such ancestor.
bool allowedIn(const QString &name, const QString &parent)
{
    if (name == QLatin1String("td") || name == QLatin1String("th"))
        return parent == QLatin1String("tr");
    if (name == QLatin1String("tr"))
        return isOneOf(parent, {"table", "thead", "tbody", "tfoot"});
    if (isOneOf(name, {"thead", "tbody", "tfoot", "caption"}))
        return parent == QLatin1String("table");
    if (name == QLatin1String("dd"))
        return isOneOf(parent, {"dt", "dl"});
    if (name == QLatin1String("dt"))
        return parent == QLatin1String("dl");
    return !isOneOf(name, {"body", "qt"}) || parent != QLatin1String("head");
}

// Qt shows nothing inside these.
bool isHidden(const QString &name)
{
    return isOneOf(name, {"head", "style", "title", "script", "link"});
}

bool breaksLine(QChar c)
{
    return c.isSpace() && c != QChar(0xa0) && c != QChar(0x2007) && c != QChar(0x202f);
}

// The bound for a number out of bounds; "nan" becomes 0.
QString bound(double x)
{
    return QString::number(std::isnan(x) ? 0 : std::copysign(HtmlCaps::length, x));
}

// A number as Qt reads it from an attribute, clamped; true when it had to be.
bool clampAttribute(QString &value)
{
    QString number = value.trimmed();
    const bool percent = number.endsWith(QLatin1Char('%'));
    if (percent)
        number.chop(1);
    bool ok = false;
    const double x = number.toDouble(&ok); // also takes "1e8", "inf" and "nan", as Qt does
    if (!ok || std::fabs(x) <= HtmlCaps::length)
        return false;
    value = bound(x) + (percent ? QStringLiteral("%") : QString());
    return true;
}

// Clamps the numbers of style sheet text that Qt could read as a length, a size or a
// count, also "inf" and "nan" where a length may stand. Strings, comments, names and
// colours are passed over; urls and imports are counted in *refs.
bool clampCss(QString &css, int *refs)
{
    static const QRegularExpression token(
        QStringLiteral(R"(\\.|"(?:[^"\\\n\r\f]|\\.)*"?|'(?:[^'\\\n\r\f]|\\.)*'?|/\*.*?\*/|#[\w-]*|)"
                       R"((url\([^)]*\)|@import)|(?<![\w.])[+-]?(inf(?:inity)?|nan)(?=(?:px|pt|em|ex)?(?![\w-]))|)"
                       R"(-?[^\W\d][\w-]*|((?:\d+\.?\d*|\.\d+)(?:e[+-]?\d+)?))"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    QString out;
    int copied = 0;
    for (QRegularExpressionMatchIterator it = token.globalMatch(css); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        *refs += m.capturedLength(1) > 0;
        const int number = m.capturedLength(2) > 0 ? 2 : 3;
        bool ok = false;
        const double x = m.capturedRef(number).toDouble(&ok);
        if (m.capturedLength(number) == 0 || (ok && std::fabs(x) <= HtmlCaps::length))
            continue;
        out += css.midRef(copied, m.capturedStart(number) - copied);
        out += bound(ok ? x : HtmlCaps::length);
        copied = m.capturedEnd(number);
    }
    if (copied == 0)
        return false;
    css = out + css.midRef(copied);
    return true;
}

// A document that loads nothing: QTextDocument's own loader reads any local file named.
class ClosedDocument : public QTextDocument
{
protected:
    QVariant loadResource(int, const QUrl &) override { return QVariant(); }
};

// How deep Qt nests the tables of a document it built, and the cost of laying out its text.
void measure(QTextFrame *frame, int depth, int *deepest, qint64 *cost)
{
    *deepest = std::max(*deepest, depth);
    for (auto it = frame->begin(); !it.atEnd(); ++it) {
        if (QTextFrame *child = it.currentFrame())
            measure(child, depth + (qobject_cast<QTextTable *>(child) != nullptr), deepest, cost);
        else
            *cost += qint64(it.currentBlock().length()) << depth;
    }
}

// One pass over the HTML that reads tags, attributes and entities the way Qt's parser
// does, so that whatever Qt would lay out is what gets counted and clamped.
class Scanner
{
public:
    Scanner(const QString &html, bool textOnly)
        : s(html)
        , len(html.size())
        , textOnly(textOnly)
    {}

    SafeHtml sanitize()
    {
        scan();
        SafeHtml safe{copied == 0 ? s : out + s.midRef(copied), false};
        if (!over) {
            // Qt builds tables from broken HTML in ways no count of tags foretells; its
            // own parse, which lays nothing out, tells the depth it will lay out.
            ClosedDocument document;
            document.setHtml(safe.text);
            int deepest = 0;
            qint64 textCost = 0;
            measure(document.rootFrame(), 0, &deepest, &textCost);
            over = deepest > HtmlCaps::tableDepth || tagsCost + textCost > costBudget;
        }
        if (over) {
            Scanner text(s, true);
            text.scan();
            return {text.out.trimmed(), true};
        }
        return safe;
    }

private:
    struct Element
    {
        QString tag;
        int items = 0;
        bool nowrap = false;
    };

    void scan()
    {
        while (pos < len && !over) {
            int lt = s.indexOf(QLatin1Char('<'), pos);
            lt = lt < 0 ? len : lt;
            text(pos, lt);
            pos = lt + 1;
            if (lt < len)
                tag();
            if (cost > costBudget || images > HtmlCaps::images)
                over = !textOnly;
        }
    }

    void text(int from, int to)
    {
        if (textOnly) {
            if (hiddenOpen == 0)
                addText(decoded(from, to));
            return;
        }
        cost += qint64(to - from) << tables;
        for (int i = from; i < to; ++i) {
            unbroken = breaksLine(s.at(i)) && nowrapOpen == 0 && !nowrapSheet ? 0 : unbroken + 1;
            over = over || unbroken > unbrokenRun;
        }
        if (!open.isEmpty() && open.last().tag == QLatin1String("style")) {
            QString css = decoded(from, to);
            nowrapSheet = nowrapSheet || css.contains(QLatin1String("nowrap"), Qt::CaseInsensitive);
            if (clampCss(css, &images))
                replace(from, to, css.toHtmlEscaped());
        }
    }

    void tag()
    {
        nowrap = false;
        eatSpace();
        if (at(QLatin1Char('!'))) {
            ++pos;
            // Qt takes "<!-" and two more characters for the start of a comment.
            if (at(QLatin1Char('-')) && pos + 2 < len) {
                const int end = s.indexOf(QLatin1String("-->"), pos + 3);
                pos = end < 0 ? len : end + 3;
            } else {
                skipPast();
            }
            return;
        }
        if (at(QLatin1Char('/'))) {
            ++pos;
            const QString name = word().toLower().trimmed();
            skipPast();
            endTag(name);
            return;
        }
        const QString name = word().toLower();
        // Attributes only after a space, and none after a slash, as in Qt.
        if (pos < len && s.at(pos).isSpace()) {
            while (pos < len) {
                eatSpace();
                if (at(QLatin1Char('>')) || at(QLatin1Char('/')))
                    break;
                const QString key = word().toLower();
                if (key.isEmpty())
                    break;
                eatSpace();
                if (!at(QLatin1Char('='))) {
                    attribute(key, QStringLiteral("1"), pos); // as Qt takes a key alone
                    continue;
                }
                ++pos;
                eatSpace();
                const int from = pos;
                attribute(key, word(), from);
            }
        }
        // Qt closes an element at once when a slash stands anywhere before the ">".
        bool closed = false;
        while (pos < len && s.at(pos) != QLatin1Char('>'))
            closed = s.at(pos++) == QLatin1Char('/') || closed;
        ++pos;
        startTag(name, closed);
    }

    void attribute(const QString &key, QString value, int from)
    {
        if (textOnly)
            return;
        if (key == QLatin1String("background"))
            ++images;
        // Spaces in an inline element that may not wrap become unbreakable.
        nowrap = nowrap || key == QLatin1String("nowrap") ||
                 (key == QLatin1String("style") && value.contains(QLatin1String("nowrap"), Qt::CaseInsensitive));
        // The attributes Qt reads a length, a spacing or a size from.
        const bool changed = key == QLatin1String("style")
                                 ? clampCss(value, &images)
                                 : isOneOf(key, {"width", "height", "cellpadding", "cellspacing", "border", "size"}) &&
                                       clampAttribute(value);
        if (changed)
            replace(from, pos, QLatin1Char('"') + value.toHtmlEscaped() + QLatin1Char('"'));
    }

    // Where Qt places an element: its implicit tables, the paragraphs and list items that
    // end the ones before, the elements that may only stand in certain others. Qt's own
    // parse has the last word on tables; this count guards what that parse costs.
    void startTag(const QString &name, bool closed)
    {
        if (name.isEmpty())
            return; // Qt hangs what follows on the parent
        if ((name == QLatin1String("td") || name == QLatin1String("th")) && find({"tr"}) < 0) {
            push(QStringLiteral("table"));
            push(QStringLiteral("tr"));
        } else if (name == QLatin1String("tr") && find({"table"}) < 0) {
            push(QStringLiteral("table"));
        }
        int parent = open.size() - 1;
        if (name == QLatin1String("p")) {
            int block = parent;
            while (block >= 0 && !isBlock(open.at(block).tag))
                --block;
            if (block >= 0 && open.at(block).tag == name)
                parent = block;
        }
        if (parent >= 0 && open.at(parent).tag == name && (name == QLatin1String("p") || name == QLatin1String("li")))
            --parent;
        while (parent >= 0 && !allowedIn(name, open.at(parent).tag))
            --parent;
        closeAbove(parent);
        if (name == QLatin1String("li")) {
            const int list = find({"ul", "ol"});
            if (++(list < 0 ? looseItems : open[list].items) > HtmlCaps::listItems)
                over = !textOnly;
        }
        if (name == QLatin1String("img") || name == QLatin1String("link"))
            ++images;
        if (!closed && !isOneOf(name, {"img", "hr", "br", "meta"})) // Qt gives these no children
            push(name, nowrap || name == QLatin1String("nobr"));
        tagBoundary(name);
        cost += tagCost << tables;
        tagsCost += tagCost << tables;
    }

    void endTag(const QString &name)
    {
        tagBoundary(name);
        for (int i = open.size() - 1; i >= 0; --i) {
            if (open.at(i).tag == name) {
                closeAbove(i - 1);
                return;
            }
        }
    }

    void tagBoundary(const QString &name)
    {
        if (!isBreaking(name)) {
            unbroken += tagInRun;
        } else if (textOnly) {
            while (out.endsWith(QLatin1Char(' ')))
                out.chop(1);
            if (!out.isEmpty() && !out.endsWith(QLatin1Char('\n')))
                out += QLatin1Char('\n');
        } else {
            unbroken = 0;
        }
    }

    int find(std::initializer_list<const char *> tags) const
    {
        for (int i = open.size() - 1; i >= 0; --i) {
            if (isOneOf(open.at(i).tag, tags))
                return i;
        }
        return -1;
    }

    void push(const QString &tag, bool noWrap = false)
    {
        open.append({tag, 0, noWrap});
        nowrapOpen += noWrap;
        tables += tag == QLatin1String("table");
        hiddenOpen += isHidden(tag);
        if (open.size() > HtmlCaps::depth || tables > HtmlCaps::tableDepth)
            over = !textOnly;
    }

    // Closes every element above index `keep`; -1 closes them all.
    void closeAbove(int keep)
    {
        while (open.size() > keep + 1) {
            tables -= open.last().tag == QLatin1String("table");
            hiddenOpen -= isHidden(open.last().tag);
            nowrapOpen -= open.last().nowrap;
            open.removeLast();
        }
    }

    bool at(QChar c) const { return pos < len && s.at(pos) == c; }

    void eatSpace()
    {
        while (pos < len && s.at(pos).isSpace() && s.at(pos) != QChar::ParagraphSeparator)
            ++pos;
    }

    void skipPast()
    {
        const int gt = s.indexOf(QLatin1Char('>'), pos);
        pos = gt < 0 ? len : gt + 1;
    }

    // A tag name, an attribute key or a value. Entities count except in single quotes,
    // where a backslash keeps a quote, all as in Qt.
    QString word()
    {
        QString w;
        if (at(QLatin1Char('"'))) {
            ++pos;
            while (pos < len) {
                const QChar c = s.at(pos++);
                if (c == QLatin1Char('"'))
                    break;
                w += c == QLatin1Char('&') ? entity(pos) : QString(c);
            }
        } else if (at(QLatin1Char('\''))) {
            ++pos;
            while (pos < len) {
                const QChar c = s.at(pos++);
                if (c == QLatin1Char('\'') && s.at(pos - 2) != QLatin1Char('\\'))
                    break;
                w += c;
            }
        } else {
            while (pos < len) {
                const QChar c = s.at(pos);
                if (c == QLatin1Char('>') || c == QLatin1Char('<') || c == QLatin1Char('=') || c.isSpace() ||
                    (c == QLatin1Char('/') && pos + 1 < len && s.at(pos + 1) == QLatin1Char('>')))
                    break;
                ++pos;
                w += c == QLatin1Char('&') ? entity(pos) : QString(c);
            }
        }
        return w;
    }

    // The character an entity stands for, `p` just after its "&"; "&" where there is none.
    QString entity(int &p) const
    {
        // Only those that can stand for part of a number or a name; others stay as written.
        static const QHash<QString, QChar> named = {
            {QStringLiteral("amp"), QLatin1Char('&')},   {QStringLiteral("lt"), QLatin1Char('<')},
            {QStringLiteral("gt"), QLatin1Char('>')},    {QStringLiteral("quot"), QLatin1Char('"')},
            {QStringLiteral("apos"), QLatin1Char('\'')}, {QStringLiteral("nbsp"), QChar(0xa0)}};
        QString name;
        int q = p;
        while (q < len) {
            const QChar c = s.at(q++);
            if (c.isSpace() || q - p > 9)
                return QStringLiteral("&");
            if (c == QLatin1Char(';'))
                break;
            name += c;
        }
        if (const QChar c = named.value(name); !c.isNull()) {
            p = q;
            return c;
        }
        if (name.size() > 1 && name.at(0) == QLatin1Char('#')) {
            const bool hex = name.at(1).toLower() == QLatin1Char('x');
            bool ok = false;
            const uint code = name.midRef(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
            if (ok) {
                p = q;
                return QString::fromUcs4(&code, 1);
            }
        }
        return QStringLiteral("&");
    }

    QString decoded(int from, int to) const
    {
        QString t;
        for (int i = from; i < to;) {
            const QChar c = s.at(i++);
            t += c == QLatin1Char('&') ? entity(i) : QString(c);
        }
        return t;
    }

    void addText(const QString &t)
    {
        for (const QChar c : t) {
            if (!c.isSpace())
                out += c;
            else if (!out.isEmpty() && !out.endsWith(QLatin1Char(' ')) && !out.endsWith(QLatin1Char('\n')))
                out += QLatin1Char(' ');
        }
    }

    void replace(int from, int to, const QString &with)
    {
        out += s.midRef(copied, from - copied);
        out += with;
        copied = to;
    }

    const QString &s;
    const int len;
    const bool textOnly;
    int pos = 0;
    QVector<Element> open;
    int tables = 0;
    int hiddenOpen = 0;
    int nowrapOpen = 0;
    bool nowrap = false; // of the tag being read
    bool nowrapSheet = false;
    int looseItems = 0;
    int images = 0;
    int unbroken = 0;
    qint64 cost = 0;
    qint64 tagsCost = 0;
    bool over = false;
    QString out; // the laid-out copy from `copied` on, or the plain text
    int copied = 0;
};

} // namespace

SafeHtml sanitizeHtml(const QString &html)
{
    return Scanner(html, false).sanitize();
}

QString htmlPlainText(const QString &html)
{
    const SafeHtml safe = sanitizeHtml(html);
    if (safe.plain)
        return safe.text;
    ClosedDocument names;
    return QTextDocumentFragment::fromHtml(safe.text, &names).toPlainText();
}
