#include "db/impatientconnection.h"

#include <QSqlQuery>
#include <QVariant>

ImpatientConnection::ImpatientConnection(const QSqlDatabase &db)
    : db(db)
{
    // Only SQLite waits on another connection's lock.
    if (db.driverName() != QLatin1String("QSQLITE"))
        return;
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA busy_timeout")) || !query.next())
        return;
    timeout = query.value(0).toString();
    query.exec(QStringLiteral("PRAGMA busy_timeout = 0"));
}

ImpatientConnection::~ImpatientConnection()
{
    if (isReady())
        QSqlQuery(db).exec(QStringLiteral("PRAGMA busy_timeout = ") + timeout);
}
