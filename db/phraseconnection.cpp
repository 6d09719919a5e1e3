#include "db/phraseconnection.h"

#include "db/phrasestore.h"
#include "db/serveraddress.h"

#include <QDir>
#include <QObject>

namespace {

QString driverFor(const QString &location)
{
    return ServerAddress::isServerAddress(location) ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE");
}

} // namespace

QSqlDatabase phraseConnection(const QString &location, const QString &connection)
{
    const QString driver = driverFor(location);
    if (QSqlDatabase::contains(connection)) {
        QSqlDatabase db = QSqlDatabase::database(connection, false);
        if (db.driverName() == driver)
            return db;
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connection);
    }
    // Asked first: adding it would have Qt print its own list of drivers.
    if (!QSqlDatabase::isDriverAvailable(driver))
        return QSqlDatabase();
    QSqlDatabase db = QSqlDatabase::addDatabase(driver, connection);
    if (driver == QLatin1String("QSQLITE"))
        PhraseStore::configure(db);
    return db;
}

QString withoutPassword(const QString &location)
{
    return ServerAddress::isServerAddress(location) ? ServerAddress::parse(location).shown() : location;
}

QString shownLocation(const QString &location)
{
    return QDir::toNativeSeparators(withoutPassword(location));
}

QString driverMissing(const QString &location)
{
    if (ServerAddress::isServerAddress(location))
        return QObject::tr("Qt's PostgreSQL driver is not installed: install the package libqt5sql5-psql.");
    return QObject::tr("Qt's SQLite driver is not installed: install the package libqt5sql5-sqlite.");
}
