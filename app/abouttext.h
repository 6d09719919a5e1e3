#ifndef ABOUTTEXT_H
#define ABOUTTEXT_H

#include <QString>

// The About box's rich text: name, version, and the web and support pages in `language`,
// which has pages of its own only for Russian.
QString aboutText(const QString &language);

#endif // ABOUTTEXT_H
