#ifndef PHRASEWRITERS_H
#define PHRASEWRITERS_H

#include "db/phraserecord.h"

#include <QString>
#include <QVector>

#include <functional>

// Hands the writers one phrase at a time: fills *row and returns true, or returns
// false when there are no more. Lets an export stream straight from a query.
using PhraseRowSource = std::function<bool(PhraseRecord *row)>;

// Writers of the two phrase file formats. Each takes its rows either as a vector
// or from a PhraseRowSource, which lets an export stream from a query without
// holding all phrases twice. The file is replaced only once the new one is
// complete; on failure the old file stays as it was, false is returned and
// *error names the file and the reason. *written receives the number of rows
// written. The event loop runs about every 100 ms while a file is written.

// Plain-text form: UTF-8 without byte-order mark, the fields Str, Labels,
// KeyWord, Rating and Frequency separated by TAB, CR LF after every record.
// Nothing is escaped, so a TAB inside a field shifts the fields on reading, and
// a CR comes back as LF. Such phrases are written all the same; *notWhole
// receives how many will not read back as they were.
bool writeTxtPhrases(const QString &fileName, const PhraseRowSource &nextRow, int *written = nullptr,
                     QString *error = nullptr, int *notWhole = nullptr);
bool writeTxtPhrases(const QString &fileName, const QVector<PhraseRecord> &rows, QString *error = nullptr,
                     int *notWhole = nullptr);

// INI row form: groups Row0, Row1, ... with the keys Str, Labels, Html, KeyWord,
// Rating and Frequency, in the INI syntax of QSettings with UTF-8 text. The whole
// file is replaced, so no group of an older file survives.
bool writeIniPhrases(const QString &fileName, const PhraseRowSource &nextRow, int *written = nullptr,
                     QString *error = nullptr);
bool writeIniPhrases(const QString &fileName, const QVector<PhraseRecord> &rows, QString *error = nullptr);

// The INI row form when `ini`, the plain-text form otherwise. *notWhole is 0 for INI, which carries every phrase.
bool writePhraseFile(const QString &fileName, bool ini, const PhraseRowSource &nextRow, int *written, QString *error,
                     int *notWhole = nullptr);

// Tells the user, after a plain-text export, that n phrases will not read back as they are.
QString notWholeNote(int n);

#endif // PHRASEWRITERS_H
