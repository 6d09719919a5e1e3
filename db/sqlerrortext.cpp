#include "db/sqlerrortext.h"

#include <QSqlError>

QString sqlErrorText(const QSqlError &error)
{
    const QString database = error.databaseText().trimmed();
    return database.isEmpty() ? error.driverText() : database;
}
