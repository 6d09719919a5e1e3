#include "exchange/htmlscanner.h"

#include <QHash>

namespace {

// Qt's block elements: a new paragraph closes the one it finds above any others.
bool isBlock(const QString &name)
{
    return HtmlScanner::isOneOf(name, {"blockquote", "body", "caption", "center", "dd", "div", "dl", "dt",
                                       "h1",         "h2",   "h3",      "h4",     "h5", "h6",  "hr", "li",
                                       "ol",         "p",    "pre",     "qt",     "td", "th",  "ul"});
}

// Where Qt lets an element stand; elsewhere it goes to the nearest such ancestor.
bool allowedIn(const QString &name, const QString &parent)
{
    if (name == QLatin1String("td") || name == QLatin1String("th"))
        return parent == QLatin1String("tr");
    if (name == QLatin1String("tr"))
        return HtmlScanner::isOneOf(parent, {"table", "thead", "tbody", "tfoot"});
    if (HtmlScanner::isOneOf(name, {"thead", "tbody", "tfoot", "caption"}))
        return parent == QLatin1String("table");
    if (name == QLatin1String("dd"))
        return HtmlScanner::isOneOf(parent, {"dt", "dl"});
    if (name == QLatin1String("dt"))
        return parent == QLatin1String("dl");
    return !HtmlScanner::isOneOf(name, {"body", "qt"}) || parent != QLatin1String("head");
}

// Qt shows nothing inside these.
bool isHidden(const QString &name)
{
    return HtmlScanner::isOneOf(name, {"head", "style", "title", "script", "link"});
}

} // namespace

HtmlScanner::HtmlScanner(const QString &html)
    : s(html)
    , len(html.size())
{}

bool HtmlScanner::isOneOf(const QString &name, std::initializer_list<const char *> names)
{
    for (const char *n : names) {
        if (name == QLatin1String(n))
            return true;
    }
    return false;
}

void HtmlScanner::scan()
{
    while (pos < len && !stopped()) {
        int lt = s.indexOf(QLatin1Char('<'), pos);
        lt = lt < 0 ? len : lt;
        text(pos, lt);
        pos = lt + 1;
        if (lt < len)
            tag();
    }
}

void HtmlScanner::tag()
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
        close(name);
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
                readAttribute(key, QStringLiteral("1"), pos); // as Qt takes a key alone
                continue;
            }
            ++pos;
            eatSpace();
            const int from = pos;
            readAttribute(key, word(), from);
        }
    }
    // Qt closes an element at once when a slash stands anywhere before the ">".
    bool closed = false;
    while (pos < len && s.at(pos) != QLatin1Char('>'))
        closed = s.at(pos++) == QLatin1Char('/') || closed;
    ++pos;
    place(name, closed);
}

void HtmlScanner::readAttribute(const QString &key, const QString &value, int from)
{
    // Spaces in an inline element that may not wrap become unbreakable.
    nowrap = nowrap || key == QLatin1String("nowrap") ||
             (key == QLatin1String("style") && value.contains(QLatin1String("nowrap"), Qt::CaseInsensitive));
    attribute(key, value, from);
}

// Where Qt places an element: its implicit tables, the paragraphs and list items that
// end the ones before, the elements that may only stand in certain others.
void HtmlScanner::place(const QString &name, bool closed)
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
        lastListItems = ++(list < 0 ? looseItems : open[list].items);
    }
    if (!closed && !isOneOf(name, {"img", "hr", "br", "meta"})) // Qt gives these no children
        push(name, nowrap || name == QLatin1String("nobr"));
    startTag(name);
}

void HtmlScanner::close(const QString &name)
{
    endTag(name);
    for (int i = open.size() - 1; i >= 0; --i) {
        if (open.at(i).tag == name) {
            closeAbove(i - 1);
            return;
        }
    }
}

int HtmlScanner::find(std::initializer_list<const char *> tags) const
{
    for (int i = open.size() - 1; i >= 0; --i) {
        if (isOneOf(open.at(i).tag, tags))
            return i;
    }
    return -1;
}

void HtmlScanner::push(const QString &tag, bool noWrap)
{
    open.append({tag, 0, noWrap});
    nowrapOpen += noWrap;
    tables += tag == QLatin1String("table");
    hiddenOpen += isHidden(tag);
}

// Closes every element above index `keep`; -1 closes them all.
void HtmlScanner::closeAbove(int keep)
{
    while (open.size() > keep + 1) {
        tables -= open.last().tag == QLatin1String("table");
        hiddenOpen -= isHidden(open.last().tag);
        nowrapOpen -= open.last().nowrap;
        open.removeLast();
    }
}

void HtmlScanner::eatSpace()
{
    while (pos < len && s.at(pos).isSpace() && s.at(pos) != QChar::ParagraphSeparator)
        ++pos;
}

void HtmlScanner::skipPast()
{
    const int gt = s.indexOf(QLatin1Char('>'), pos);
    pos = gt < 0 ? len : gt + 1;
}

// A tag name, an attribute key or a value. Entities count except in single quotes,
// where a backslash keeps a quote, all as in Qt.
QString HtmlScanner::word()
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
QString HtmlScanner::entity(int &p) const
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

QString HtmlScanner::decoded(int from, int to) const
{
    QString t;
    for (int i = from; i < to;) {
        const QChar c = s.at(i++);
        t += c == QLatin1Char('&') ? entity(i) : QString(c);
    }
    return t;
}
