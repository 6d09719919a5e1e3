#include "exchange/inireader.h"
#include "exchange/inisyntax.h"
#include "exchange/phrasewriters.h"
#include "exchange/txtreader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

#include <cstdlib>

namespace {
QString fileName;

void check(bool ok)
{
    if (!ok)
        std::abort();
}

// Every phrase a reader counts must be in the table; the table is emptied for the next one.
void checkStored(int count)
{
    QSqlQuery query(QStringLiteral("SELECT count(*) FROM TypeText"));
    check(count >= 0 && query.next() && query.value(0).toInt() == count);
    check(query.exec(QStringLiteral("DELETE FROM TypeText")));
}

// The INI writer's file must parse back to the texts it was given: the input cut at
// 0xFF bytes gives the texts, four per phrase.
void checkIniRoundTrip(const QByteArray &bytes)
{
    const QList<QByteArray> fields = bytes.split('\xff');
    QVector<PhraseFileRow> rows;
    for (int i = 0; i < fields.size(); i += 4) {
        rows.append({QString::fromUtf8(fields.value(i)), QString::fromUtf8(fields.value(i + 1)),
                     QString::fromUtf8(fields.value(i + 2)), QString::fromUtf8(fields.value(i + 3)),
                     int(qHash(fields.value(i))), -fields.value(i + 1).size()});
    }
    QFile file(fileName);
    check(writeIniPhrases(fileName, rows) && file.open(QIODevice::ReadOnly));
    const QHash<QString, IniPhraseGroup> groups = parseIniPhraseGroups(file.readAll());
    check(groups.size() == rows.size());
    for (int i = 0; i < rows.size(); ++i) {
        const PhraseFileRow &row = rows.at(i);
        const IniPhraseGroup group = groups.value(QStringLiteral("row%1").arg(i));
        const QString *values = group.values;
        check(values[IniPhraseGroup::Str] == row.str && values[IniPhraseGroup::Labels] == row.labels &&
              values[IniPhraseGroup::KeyWord] == row.keyWord && values[IniPhraseGroup::Html] == row.html &&
              values[IniPhraseGroup::Rating] == QString::number(row.rating) &&
              values[IniPhraseGroup::Frequency] == QString::number(row.frequency));
    }
}
} // namespace

// An application object and an in-memory phrase table made from the program's template.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    fileName = QDir::temp().filePath(QStringLiteral("quillary-fuzz-%1").arg(QCoreApplication::applicationPid()));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setDatabaseName(QStringLiteral(":memory:"));
    QFile schema(QStringLiteral(QUILLARY_SCHEMA_SQL));
    check(db.open() && schema.open(QIODevice::ReadOnly));
    for (const QString &statement : QString::fromUtf8(schema.readAll()).split(QStringLiteral(";\n")))
        check(statement.trimmed().isEmpty() || QSqlQuery(db).exec(statement));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    QFile file(fileName);
    check(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    checkStored(importTxt(fileName));
    checkStored(importIni(fileName));
    checkIniRoundTrip(bytes);
    return 0;
}
