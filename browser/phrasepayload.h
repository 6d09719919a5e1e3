#ifndef PHRASEPAYLOAD_H
#define PHRASEPAYLOAD_H

#include "db/phraserecord.h"

#include <QByteArray>
#include <QString>
#include <QVector>

// MIME type under which whole phrases travel between running copies.
extern const QString clipboardFormat;

// Records back to back (the lower-case shadow columns are not carried) in QDataStream's default encoding; a null string
// stays null.
QByteArray encodePhraseRecords(const QVector<PhraseRecord> &records);

// Any program may put bytes under "text/Type", so decoding trusts nothing: it
// returns the complete records in front and stops at the first malformed field.
QVector<PhraseRecord> decodePhraseRecords(const QByteArray &data);

#endif // PHRASEPAYLOAD_H
