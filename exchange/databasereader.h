#ifndef DATABASEREADER_H
#define DATABASEREADER_H

#include "exchange/importreport.h"

#include <QString>

class QVariant;

// Appends the phrases of a phrase database file (an SQLite file with the phrase table, as the
// program works on) to TypeText of the default connection, in the file's id order, all in one
// transaction. The file is opened read only on a connection of its own and read a phrase at a
// time. A NULL text stays NULL, an empty one empty. Returns the number of phrases stored, or -1
// when the file cannot be read, is no phrase database, or is the database open on the default
// connection; `report` and `progress` as for importTxt (progress counts phrases).
int importDatabase(const QString &fileName, ImportReport *report = nullptr, const Progress &progress = {});

// A text column read as its bytes (SqlDialect::asBytes): NULs kept, and NULL a null string
// while an empty text stays empty.
QString textOfBytes(const QVariant &value);

// Whether the path leads to the file open on the default connection, also under another name.
bool isOpenDatabaseFile(const QString &fileName);

#endif // DATABASEREADER_H
