#include "exchange/inireader.h"
#include "exchange/txtreader.h"
#include "phrasedb.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

// Hostile files, kept from fuzzing and made by hand: each must be read without
// harm and give the number of phrases listed in corpus/counts.
class CorpusTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void corpusFile_givesListedCount_data();
    void corpusFile_givesListedCount();
    void hugeSingleLine_data();
    void hugeSingleLine();
    void thousandsOfGroupsWrittenByQSettings();

private:
    QTemporaryDir *dir = nullptr;
};

void CorpusTest::init()
{
    dir = new QTemporaryDir;
    QVERIFY(dir->isValid());
    QString error;
    QVERIFY2(openPhraseDatabase(dir->filePath(QStringLiteral("test.db")), &error), qPrintable(error));
}

void CorpusTest::cleanup()
{
    closePhraseDatabase();
    delete dir;
    dir = nullptr;
}

static int importFile(const QString &fileName, ImportReport *report)
{
    return fileName.endsWith(QLatin1String(".ini")) ? importIni(fileName, report) : importTxt(fileName, report);
}

void CorpusTest::corpusFile_givesListedCount_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<int>("expected");

    const QDir corpus(QStringLiteral(QUILLARY_CORPUS_DIR));
    QFile counts(corpus.filePath(QStringLiteral("counts")));
    QVERIFY(counts.open(QIODevice::ReadOnly | QIODevice::Text));
    QHash<QString, int> listed;
    while (!counts.atEnd()) {
        const QStringList fields = QString::fromUtf8(counts.readLine()).simplified().split(QLatin1Char(' '));
        if (fields.size() == 2)
            listed.insert(fields[0], fields[1].toInt());
    }
    const QStringList files = corpus.entryList({QStringLiteral("*.txt"), QStringLiteral("*.ini")}, QDir::Files);
    QVERIFY(!files.isEmpty());
    for (const QString &name : files) {
        QVERIFY2(listed.contains(name), qPrintable(name + QStringLiteral(" is missing in corpus/counts")));
        QTest::newRow(qPrintable(name)) << corpus.filePath(name) << listed.value(name);
    }
}

void CorpusTest::corpusFile_givesListedCount()
{
    QFETCH(QString, fileName);
    QFETCH(int, expected);
    ImportReport report;
    QCOMPARE(importFile(fileName, &report), expected);
    QCOMPARE(report.refused, 0);
    bool shadowsOk = false;
    QCOMPARE(storedPhrases(&shadowsOk).size(), expected);
    QVERIFY(shadowsOk);
}

void CorpusTest::hugeSingleLine_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<char>("fill");
    QTest::addColumn<int>("expected");
    QTest::addColumn<int>("strLength");
    const int size = 10 * 1024 * 1024;
    QTest::newRow("txt of letters") << QStringLiteral("txt") << 'x' << 1 << size;
    QTest::newRow("txt of TABs") << QStringLiteral("txt") << '\t' << 1 << 0;
    QTest::newRow("ini of letters") << QStringLiteral("ini") << 'x' << 0 << 0;
    QTest::newRow("ini of brackets") << QStringLiteral("ini") << '[' << 0 << 0;
    QTest::newRow("ini of equals signs") << QStringLiteral("ini") << '=' << 0 << 0;
}

void CorpusTest::hugeSingleLine()
{
    QFETCH(QString, suffix);
    QFETCH(char, fill);
    QFETCH(int, expected);
    QFETCH(int, strLength);
    const QString fileName = dir->filePath(QStringLiteral("huge.") + suffix);
    QVERIFY(writeBytes(fileName, QByteArray(10 * 1024 * 1024, fill)));
    QCOMPARE(importFile(fileName, nullptr), expected);
    if (expected > 0)
        QCOMPARE(storedPhrases().constFirst().str.size(), strLength);
}

void CorpusTest::thousandsOfGroupsWrittenByQSettings()
{
    const QString fileName = dir->filePath(QStringLiteral("groups.ini"));
    const int count = 3000;
    {
        QSettings settings(fileName, QSettings::IniFormat);
        settings.setIniCodec("UTF-8");
        for (int i = 0; i < count; ++i) {
            settings.beginGroup(QStringLiteral("Row%1").arg(i));
            settings.setValue(QStringLiteral("Str"), QStringLiteral("phrase, %1 = ; \"Ω\"\n").arg(i));
            settings.setValue(QStringLiteral("Rating"), i % 101);
            settings.setValue(QStringLiteral("Frequency"), i);
            settings.endGroup();
        }
    }
    QCOMPARE(importIni(fileName, nullptr), count);
    const QVector<PhraseFileRow> rows = storedPhrases();
    QCOMPARE(rows.size(), count);
    QCOMPARE(rows.last(), phrase(QStringLiteral("phrase, 2999 = ; \"Ω\"\n"), {}, {}, 2999 % 101, 2999));
}

QTEST_GUILESS_MAIN(CorpusTest)
#include "tst_corpus.moc"
