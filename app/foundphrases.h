#ifndef FOUNDPHRASES_H
#define FOUNDPHRASES_H

#include "db/phrasestore.h"
#include "exchange/phrasefilenames.h"
#include "exchange/phrasewriters.h"

#include <QString>
#include <QVector>

class QSqlQuery;

// The phrases a search for `text` finds, all without one, in the order the window's
// table shows them, with the given fields in that order, texts as their UTF-8 bytes;
// at most `limit`, all for -1. Read forward only, one phrase at a time, so that a big
// file never sits in memory. Bytes spare SQLite turning every text into UTF-16.
bool selectFound(QSqlQuery &query, const QVector<PhraseStore::Field> &fields, const QString &text, int limit,
                 QString *error);

// The fields a file of that format carries: plain text no rich text, the largest field;
// only a database the hot keys.
QVector<PhraseStore::Field> foundFields(PhraseFormat format);

// The phrases of a selectFound query on foundFields(format), one at a time, for a writer.
PhraseRowSource foundRows(QSqlQuery &query, PhraseFormat format);

// A text field of a selectFound query; NULL reads as empty, as the window shows it.
QString textAt(const QSqlQuery &query, int field);

#endif // FOUNDPHRASES_H
