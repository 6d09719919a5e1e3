#ifndef SQLDIALECT_H
#define SQLDIALECT_H

#include <QSqlDatabase>
#include <QString>
#include <QVariant>

// Where the phrase store's SQL differs between an SQLite file and a PostgreSQL server.
class SqlDialect
{
public:
    explicit SqlDialect(const QSqlDatabase &db)
        : server(db.driverName() == QLatin1String("QPSQL"))
    {}

    // A column compared with a bound value, NULL counting as equal to NULL.
    QString sameAsBound() const { return server ? QStringLiteral(" IS NOT DISTINCT FROM ?") : QStringLiteral(" IS ?"); }
    // Whether a write can hand back what it stored in the same statement; older SQLite
    // libraries, as some Qt builds carry, cannot.
    bool hasReturning() const { return server; }
    // The table name for a QSqlTableModel. Qt quotes it, and a server keeps the names it
    // was given unquoted in lower case.
    QString modelTable(const QString &name) const { return server ? name.toLower() : name; }
    // A text column read as its bytes, NULs and all, where the database would stop at one.
    QString asBytes(const QString &column) const
    {
        return server ? column : QStringLiteral("CAST(%1 AS BLOB)").arg(column);
    }
    // The bound LIMIT that means none.
    QVariant noLimit() const { return server ? QVariant() : QVariant(-1); }
    // A transaction that takes the write lock at once, so nothing writes between its read and its write.
    QString beginWrite() const { return server ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE"); }
    // The ORDER BY clause for the chosen one, empty for none. A file gives rows of equal sort
    // keys by id of itself, a server in whatever order its last writes left them, which would
    // shuffle the table at each reload.
    QString orderBy(const QString &chosen, const QString &idColumn) const
    {
        if (!server)
            return chosen;
        return chosen.isEmpty() ? QStringLiteral("ORDER BY ") + idColumn : chosen + QStringLiteral(", ") + idColumn;
    }
    // Whether locks, busy time-outs and the id sequence are SQLite's.
    bool isFile() const { return !server; }

private:
    bool server;
};

#endif // SQLDIALECT_H
