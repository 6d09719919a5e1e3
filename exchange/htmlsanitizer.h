#ifndef HTMLSANITIZER_H
#define HTMLSANITIZER_H

#include <QString>

// Rich text checked before Qt lays it out. Qt's layout time doubles with each table
// nested in another, grows with the square of a list's length or of the elements left
// open, and never ends on lengths past what it counts in; so a short phrase, or rich
// text pasted from another program, could freeze the window.

// The caps. Elements are counted as Qt's HTML parser nests them.
namespace HtmlCaps {
constexpr int tableDepth = 10; // tables inside tables
constexpr int depth = 200;     // elements open at once
constexpr int images = 200;    // images, backgrounds and style sheets named
constexpr int listItems = 2000;
constexpr double length = 10000; // any length, spacing or size, in whatever unit it has
} // namespace HtmlCaps

struct SafeHtml
{
    // The HTML to lay out: the input itself, the same bytes, unless a length or a spacing
    // had to be clamped. Past the caps, or past what lays out in time, the text without
    // markup instead, and `plain` is set.
    QString text;
    bool plain = false;
};

SafeHtml sanitizeHtml(const QString &html);

// The text of `html` without markup, as a paste stores it. Nothing `html` names, such as
// an image or a style sheet, is loaded.
QString htmlPlainText(const QString &html);

#endif // HTMLSANITIZER_H
