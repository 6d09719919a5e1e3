#ifndef SQLSCRIPT_H
#define SQLSCRIPT_H

#include <QString>

class QSqlDatabase;

// Runs the SQL script in the file `path` on `db`, statement by statement. A
// statement ends with a line whose last character is ';', so texts inside a
// statement may hold semicolons; lines starting with "--" between statements
// are comments. On failure *error names the file, the line and the reason.
bool runSqlScript(QSqlDatabase &db, const QString &path, QString *error);

#endif // SQLSCRIPT_H
