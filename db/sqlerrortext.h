#ifndef SQLERRORTEXT_H
#define SQLERRORTEXT_H

#include <QString>

class QSqlError;

// The database's own words for a failure, without the driver's tail ("Unable to
// fetch row"), which tells a person nothing.
QString sqlErrorText(const QSqlError &error);

#endif // SQLERRORTEXT_H
