#ifndef SERVERDATABASE_H
#define SERVERDATABASE_H

#include "db/databasefile.h"

#include <QString>

class QSqlDatabase;

// Whether db talks to a PostgreSQL server rather than to an SQLite file.
bool isServerConnection(const QSqlDatabase &db);

// Opens db, a PostgreSQL connection, on the server database address names. A database
// without the phrase table gets one, with its triggers and search indexes; a phrase table
// lacking a column is refused as a file's is. On failure the connection is closed again.
DatabaseCheck openServerDatabase(QSqlDatabase &db, const QString &address, QString *error);

// Whether the connection's role may add, change and delete phrases.
bool isWritableServer(const QSqlDatabase &db);

// Whether the phrase search runs on trigram indexes rather than reading every phrase.
bool isSearchIndexed(const QSqlDatabase &db);

// Whether the server answers on db before an action. A connection the server dropped (a
// restart, a network gone) is opened anew, and *reconnected says so; *error says why not.
bool serverReachable(QSqlDatabase &db, bool *reconnected, QString *error);

// The channel on which the phrase table's trigger announces every change.
QString phraseChannel();

#endif // SERVERDATABASE_H
