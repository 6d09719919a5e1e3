#ifndef FUZZDATABASE_H
#define FUZZDATABASE_H

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTextStream>

#include <cstdio>
#include <cstdlib>

// An application object and an in-memory phrase table on the default
// connection, made once per fuzzing process; the table is emptied after each
// input so that memory stays flat.
inline void setUpFuzzing()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);

    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setDatabaseName(QStringLiteral(":memory:"));
    QFile schema(QStringLiteral(QUILLARY_SCHEMA_SQL));
    if (!db.open() || !schema.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot set up the phrase table\n");
        std::abort();
    }
    QTextStream in(&schema);
    QString statement;
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (statement.isEmpty() && (line.trimmed().isEmpty() || line.trimmed().startsWith(QStringLiteral("--"))))
            continue;
        statement += line + QLatin1Char('\n');
        if (line.trimmed().endsWith(QLatin1Char(';'))) {
            QSqlQuery(db).exec(statement);
            statement.clear();
        }
    }
}

inline void emptyPhraseTable()
{
    QSqlQuery(QSqlDatabase::database()).exec(QStringLiteral("DELETE FROM TypeText"));
}

// The readers take file names, so each input goes through a file of this process.
inline QString writeFuzzFile(const char *suffix, const uint8_t *data, size_t size)
{
    const QString name = QDir::temp().filePath(
        QStringLiteral("quillary-fuzz-%1.%2").arg(QCoreApplication::applicationPid()).arg(QLatin1String(suffix)));
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
        std::abort();
    return name;
}

#endif // FUZZDATABASE_H
