#include "exchange/phrasewriters.h"
#include "phrasedb.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

// A failed export must say so and must never cost the user the file that was there.
class PhraseWritersTest : public QObject
{
    Q_OBJECT

private slots:
    void unopenableFile_failsNamingIt_data() { formats(); }
    void unopenableFile_failsNamingIt();
    void failedWrite_keepsOldFile_data();
    void failedWrite_keepsOldFile();

private:
    static void formats();
};

static bool writeRows(const QString &format, const QString &fileName, const QVector<PhraseFileRow> &rows,
                      QString *error)
{
    return format == QLatin1String("txt") ? writeTxtPhrases(fileName, rows, error)
                                          : writeIniPhrases(fileName, rows, error);
}

void PhraseWritersTest::formats()
{
    QTest::addColumn<QString>("format");
    QTest::newRow("txt") << QStringLiteral("txt");
    QTest::newRow("ini") << QStringLiteral("ini");
}

void PhraseWritersTest::unopenableFile_failsNamingIt()
{
    QFETCH(QString, format);
    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("missing folder/phrases.") + format);
    QString error;
    QVERIFY(!writeRows(format, fileName, {phrase(QStringLiteral("a"))}, &error));
    QVERIFY2(error.contains(QDir::toNativeSeparators(fileName)), qPrintable(error));
    QVERIFY(!QFile::exists(fileName));
}

void PhraseWritersTest::failedWrite_keepsOldFile_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("rowCount");
    // Up to a megabyte is written in one piece when the file is completed.
    QTest::newRow("txt, fails part way") << QStringLiteral("txt") << 3000;
    QTest::newRow("txt, fails when completed") << QStringLiteral("txt") << 600;
    QTest::newRow("ini, fails part way") << QStringLiteral("ini") << 3000;
    QTest::newRow("ini, fails when completed") << QStringLiteral("ini") << 600;
}

void PhraseWritersTest::failedWrite_keepsOldFile()
{
#ifdef Q_OS_UNIX
    QFETCH(QString, format);
    QFETCH(int, rowCount);
    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("phrases.") + format);
    QVERIFY(writeBytes(fileName, "the old phrases"));

    QVector<PhraseFileRow> rows;
    for (int i = 0; i < rowCount; ++i)
        rows.append(phrase(QString(1000, QLatin1Char('x')), QStringLiteral("label"), QString(), i, i));

    // The file size limit makes the write fail part way, as a full disk would.
    struct rlimit limit;
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const struct rlimit before = limit;
    limit.rlim_cur = 256 * 1024;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limit), 0);
    QString error;
    const bool written = writeRows(format, fileName, rows, &error);
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldHandler);

    QVERIFY(!written);
    QVERIFY2(error.contains(QDir::toNativeSeparators(fileName)), qPrintable(error));
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("the old phrases"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("phrases.") + format});
#else
    QSKIP("Needs a file size limit to make a write fail");
#endif
}

QTEST_GUILESS_MAIN(PhraseWritersTest)
#include "tst_phrasewriters.moc"
