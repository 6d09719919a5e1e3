#include "exchange/htmlsanitizer.h"

#include "exchange/htmlscanner.h"

#include <QRegularExpression>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextTable>
#include <QVariant>

#include <algorithm>
#include <cmath>

namespace {

// Layout cost in units of one plain character laid out; what lies in a table is laid out
// about twice for each table around it. The budget lays out in about half a second.
constexpr qint64 costBudget = 1000000;
constexpr qint64 tagCost = 64;
// Breaking lines takes time with the square of a run it cannot break; a tag in such a
// run costs about as much as a few characters.
constexpr int unbrokenRun = 20000;
constexpr int tagInRun = 8;

// Lines break at these, and in the plain text they start a line.
bool isBreaking(const QString &name)
{
    return HtmlScanner::isOneOf(name, {"br", "p",  "div", "li", "tr",         "td",  "th", "table", "hr", "h1", "h2",
                                       "h3", "h4", "h5",  "h6", "blockquote", "pre", "ul", "ol",    "dl", "dt", "dd"});
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

// Counts and clamps what Qt would lay out, or, text only, collects the text without markup.
class Sanitizer : public HtmlScanner
{
public:
    Sanitizer(const QString &html, bool textOnly)
        : HtmlScanner(html)
        , textOnly(textOnly)
    {}

    SafeHtml sanitize()
    {
        scan();
        over = stopped();
        const QString &s = input();
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
            Sanitizer text(s, true);
            text.scan();
            return {text.out.trimmed(), true};
        }
        return safe;
    }

protected:
    bool stopped() const override { return over || (!textOnly && (cost > costBudget || images > HtmlCaps::images)); }

    void text(int from, int to) override
    {
        if (textOnly) {
            if (!hidden())
                addText(decoded(from, to));
            return;
        }
        cost += qint64(to - from) << tablesOpen();
        const QString &s = input();
        for (int i = from; i < to; ++i) {
            unbroken = breaksLine(s.at(i)) && !noWrap() && !nowrapSheet ? 0 : unbroken + 1;
            over = over || unbroken > unbrokenRun;
        }
        if (innermost() == QLatin1String("style")) {
            QString css = decoded(from, to);
            nowrapSheet = nowrapSheet || css.contains(QLatin1String("nowrap"), Qt::CaseInsensitive);
            if (clampCss(css, &images))
                replace(from, to, css.toHtmlEscaped());
        }
    }

    void attribute(const QString &key, QString value, int from) override
    {
        if (textOnly)
            return;
        if (key == QLatin1String("background"))
            ++images;
        // The attributes Qt reads a length, a spacing or a size from.
        const bool changed = key == QLatin1String("style")
                                 ? clampCss(value, &images)
                                 : isOneOf(key, {"width", "height", "cellpadding", "cellspacing", "border", "size"}) &&
                                       clampAttribute(value);
        if (changed)
            replace(from, position(), QLatin1Char('"') + value.toHtmlEscaped() + QLatin1Char('"'));
    }

    // Qt's own parse has the last word on tables; this count guards what that parse costs.
    void startTag(const QString &name) override
    {
        if (depth() > HtmlCaps::depth || tablesOpen() > HtmlCaps::tableDepth ||
            (name == QLatin1String("li") && listItems() > HtmlCaps::listItems))
            over = !textOnly;
        if (name == QLatin1String("img") || name == QLatin1String("link"))
            ++images;
        tagBoundary(name);
        cost += tagCost << tablesOpen();
        tagsCost += tagCost << tablesOpen();
    }

    void endTag(const QString &name) override { tagBoundary(name); }

private:
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
        out += input().midRef(copied, from - copied);
        out += with;
        copied = to;
    }

    const bool textOnly;
    bool nowrapSheet = false;
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
    return Sanitizer(html, false).sanitize();
}

QString htmlPlainText(const QString &html)
{
    const SafeHtml safe = sanitizeHtml(html);
    if (safe.plain)
        return safe.text;
    ClosedDocument names;
    return QTextDocumentFragment::fromHtml(safe.text, &names).toPlainText();
}
