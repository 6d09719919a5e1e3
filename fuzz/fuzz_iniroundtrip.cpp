// Whatever texts the INI writer is given, the INI syntax reader must return
// them unchanged: the input is cut at 0xFF bytes into fields, four per phrase.

#include "exchange/inisyntax.h"
#include "exchange/phrasewriters.h"
#include "fuzzdatabase.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    setUpFuzzing();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QList<QByteArray> fields =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size)).split('\xff');
    QVector<PhraseFileRow> rows;
    for (int i = 0; i < fields.size(); i += 4) {
        PhraseFileRow row;
        row.str = QString::fromUtf8(fields.value(i));
        row.labels = QString::fromUtf8(fields.value(i + 1));
        row.keyWord = QString::fromUtf8(fields.value(i + 2));
        row.html = QString::fromUtf8(fields.value(i + 3));
        row.rating = int(qHash(fields.value(i)));
        row.frequency = -int(fields.value(i + 1).size());
        rows.append(row);
    }
    const QString fileName = writeFuzzFile("ini", nullptr, 0);
    QString error;
    if (!writeIniPhrases(fileName, rows, &error))
        std::abort();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        std::abort();
    const QHash<QString, IniPhraseGroup> groups = parseIniPhraseGroups(file.readAll());
    if (groups.size() != rows.size())
        std::abort();
    for (int i = 0; i < rows.size(); ++i) {
        const PhraseFileRow &row = rows.at(i);
        const IniPhraseGroup group = groups.value(QStringLiteral("row%1").arg(i));
        const QString *values = group.values;
        if (values[IniPhraseGroup::Str] != row.str || values[IniPhraseGroup::Labels] != row.labels ||
            values[IniPhraseGroup::KeyWord] != row.keyWord || values[IniPhraseGroup::Html] != row.html ||
            values[IniPhraseGroup::Rating] != QString::number(row.rating) ||
            values[IniPhraseGroup::Frequency] != QString::number(row.frequency)) {
            std::fprintf(stderr, "row %d differs\n", i);
            std::abort();
        }
    }
    return 0;
}
