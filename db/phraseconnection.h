#ifndef PHRASECONNECTION_H
#define PHRASECONNECTION_H

#include <QSqlDatabase>
#include <QString>

// The connection named `connection`, with the driver that location needs: PostgreSQL for
// a server address, SQLite for a file. One of another driver is replaced. Invalid when
// the driver is not installed; driverMissing() then says what to install.
QSqlDatabase phraseConnection(const QString &location,
                              const QString &connection = QLatin1String(QSqlDatabase::defaultConnection));

// A server address without its password, for the title and the settings; a path as it is.
QString withoutPassword(const QString &location);

// A location as the user sees it: a file path in the system's notation, a server address
// without its password.
QString shownLocation(const QString &location);

// What the user is told when the driver a location needs is missing.
QString driverMissing(const QString &location);

#endif // PHRASECONNECTION_H
