#ifndef HTMLSCANNER_H
#define HTMLSCANNER_H

#include <QString>
#include <QVector>

#include <initializer_list>

// One pass over HTML that reads tags, attributes and entities the way Qt's parser does,
// and places each element where Qt's parser would, so that what a subclass is told of is
// what Qt would lay out.
class HtmlScanner
{
public:
    explicit HtmlScanner(const QString &html);
    virtual ~HtmlScanner() = default;
    HtmlScanner(const HtmlScanner &) = delete;
    HtmlScanner &operator=(const HtmlScanner &) = delete;

    // Reads to the end of the input, or until stopped() says so.
    void scan();

    // Whether a tag or attribute name, in lower case, is one of `names`.
    static bool isOneOf(const QString &name, std::initializer_list<const char *> names);

protected:
    // Asked before each stretch of text and the tag after it.
    virtual bool stopped() const = 0;
    // The text from `from` up to `to` of the input, entities still as written.
    virtual void text(int from, int to) = 0;
    // An attribute of a start tag, its value with entities read, written from `from` up
    // to position().
    virtual void attribute(const QString &key, QString value, int from) = 0;
    // A start tag, once Qt's placement of it is done and the element is open.
    virtual void startTag(const QString &name) = 0;
    // An end tag, before the elements it closes are closed.
    virtual void endTag(const QString &name) = 0;

    const QString &input() const { return s; }
    int position() const { return pos; }
    // The input from `from` up to `to` with its entities read.
    QString decoded(int from, int to) const;

    int depth() const { return open.size(); }
    int tablesOpen() const { return tables; }
    // Inside an element Qt shows nothing of, such as a head or a style sheet.
    bool hidden() const { return hiddenOpen > 0; }
    // Inside an element whose spaces do not break lines.
    bool noWrap() const { return nowrapOpen > 0; }
    QString innermost() const { return open.isEmpty() ? QString() : open.last().tag; }
    // The items so far of the list the last list item went into; items outside any list
    // count together.
    int listItems() const { return lastListItems; }

private:
    struct Element
    {
        QString tag;
        int items = 0;
        bool nowrap = false;
    };

    void tag();
    void readAttribute(const QString &key, const QString &value, int from);
    void place(const QString &name, bool closed);
    void close(const QString &name);
    int find(std::initializer_list<const char *> tags) const;
    void push(const QString &tag, bool noWrap = false);
    void closeAbove(int keep);
    bool at(QChar c) const { return pos < len && s.at(pos) == c; }
    void eatSpace();
    void skipPast();
    QString word();
    QString entity(int &p) const;

    const QString &s;
    const int len;
    int pos = 0;
    QVector<Element> open;
    int tables = 0;
    int hiddenOpen = 0;
    int nowrapOpen = 0;
    bool nowrap = false; // of the tag being read
    int looseItems = 0;
    int lastListItems = 0;
};

#endif // HTMLSCANNER_H
