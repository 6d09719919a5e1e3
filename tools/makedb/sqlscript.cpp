#include "sqlscript.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>

bool runSqlScript(QSqlDatabase &db, const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *error = path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    QTextStream in(&file);
    in.setCodec("UTF-8");
    QString statement;
    int lineNumber = 0;
    while (!in.atEnd()) {
        const QString line = in.readLine();
        ++lineNumber;
        const QString trimmed = line.trimmed();
        if (statement.isEmpty() && (trimmed.isEmpty() || trimmed.startsWith(QStringLiteral("--"))))
            continue;
        statement += line + QLatin1Char('\n');
        if (!trimmed.endsWith(QLatin1Char(';')))
            continue;
        QSqlQuery query(db);
        if (!query.exec(statement)) {
            *error = QStringLiteral("%1:%2: %3").arg(path).arg(lineNumber).arg(query.lastError().text());
            return false;
        }
        statement.clear();
    }
    if (!statement.trimmed().isEmpty()) {
        *error = path + QStringLiteral(": statement without closing ';'");
        return false;
    }
    return true;
}
