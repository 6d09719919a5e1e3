// makedb OUT.db SCRIPT.sql...
// Builds a fresh SQLite file from SQL scripts. A statement ends with a line whose
// last character is ';', so texts inside a statement may hold semicolons.

#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>

#include <cstdio>

namespace
{
int fail(const QString &message)
{
    std::fprintf(stderr, "makedb: %s\n", qPrintable(message));
    return 1;
}

bool runScript(QSqlDatabase &db, const QString &path, QString *error)
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
        if (statement.isEmpty() && (line.trimmed().isEmpty() || line.trimmed().startsWith(QStringLiteral("--"))))
            continue;
        statement += line + QLatin1Char('\n');
        if (!line.trimmed().endsWith(QLatin1Char(';')))
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
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return fail(QStringLiteral("usage: makedb OUT.db SCRIPT.sql..."));

    const QString out = args.at(1);
    if (QFile::exists(out) && !QFile::remove(out))
        return fail(QStringLiteral("cannot replace ") + out);

    QString error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("makedb"));
        db.setDatabaseName(out);
        if (!db.open())
            return fail(db.lastError().text());
        db.transaction();
        for (int i = 2; i < args.size() && error.isEmpty(); ++i)
            runScript(db, args.at(i), &error);
        if (error.isEmpty())
            db.commit();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("makedb"));
    if (!error.isEmpty()) {
        QFile::remove(out);
        return fail(error);
    }
    return 0;
}
