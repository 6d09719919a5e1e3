// makedb OUT.db SCRIPT.sql...
// Builds a fresh SQLite file from SQL scripts.

#include "sqlscript.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>

#include <cstdio>

namespace {
int fail(const QString &message)
{
    std::fprintf(stderr, "makedb: %s\n", qPrintable(message));
    return 1;
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
            runSqlScript(db, args.at(i), &error);
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
