#ifndef IMPORTREPORT_H
#define IMPORTREPORT_H

#include "db/progress.h"

#include <QString>

// What an import achieved, beyond the count the readers return.
struct ImportReport
{
    // A text for the user, empty when every phrase was stored: why the file could
    // not be read, or why nothing was kept.
    QString error;
};

class QFile;

// A field the file leaves out is stored as '' rather than NULL.
QString emptyIfNull(const QString &value);

// Opens a phrase file for reading; anything but a regular file is refused unopened.
// When it cannot be opened, *report (if given) says why, and the readers return -1.
bool openPhraseFile(QFile &file, ImportReport *report);

#endif // IMPORTREPORT_H
