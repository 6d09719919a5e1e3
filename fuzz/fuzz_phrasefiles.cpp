#include "../tests/common/phrasedatabase.h"
#include "exchange/inireader.h"
#include "exchange/inisyntax.h"
#include "exchange/phrasewriters.h"
#include "exchange/txtreader.h"

#include <QtSql>

static QString fileName;

static void check(bool ok)
{
    if (!ok)
        qFatal("fuzz_phrasefiles: a check failed");
}

// An application object and an in-memory phrase table made from the program's template.
extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    fileName = QDir::temp().filePath(QStringLiteral("quillary-fuzz-%1").arg(QCoreApplication::applicationPid()));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setDatabaseName(QStringLiteral(":memory:"));
    check(db.open() && PhraseDatabase::build(db));
    return 0;
}

// Both readers on the input as a file; then the INI writer on the input as text, in every text field
// of a phrase, whose file must parse back to exactly that phrase.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    QFile file(fileName);
    check(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    // Every phrase a reader counts must be in the table, emptied for the next reader.
    for (const auto import : {&importTxt, &importIni}) {
        QSqlQuery query;
        const int count = import(fileName, nullptr, {});
        check(count >= 0 && query.exec(QStringLiteral("DELETE FROM TypeText")) && query.numRowsAffected() == count);
    }

    const QString text = QString::fromUtf8(bytes);
    check(writeIniPhrases(fileName, {{text, text, text, {}, text, -1, int(size)}}) && file.open(QIODevice::ReadOnly));
    const QHash<QString, IniPhraseGroup> groups = parseIniPhraseGroups(file.readAll());
    check(groups.size() == 1);
    for (int key = IniPhraseGroup::Str; key <= IniPhraseGroup::KeyWord; ++key)
        check(groups.value(QStringLiteral("row0")).values[key] == text);
    return 0;
}
