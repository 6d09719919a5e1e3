#ifndef EMPTYRECORD_H
#define EMPTYRECORD_H

#include "db/phraserecord.h"

#include <QVector>

// A record with nothing in any field is no phrase, however many of them arrive.
bool isEmptyRecord(const PhraseRecord &record);
QVector<PhraseRecord> withoutEmptyRecords(QVector<PhraseRecord> records);

#endif // EMPTYRECORD_H
