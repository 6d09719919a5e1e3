#include "exchange/phrasewriters.h"
#include "exchange/txtreader.h"
#include "phrasedb.h"

#include <QDir>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCodec>

Q_DECLARE_METATYPE(QVector<PhraseFileRow>)

class TxtReaderTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void importTxt_readsRecords_data();
    void importTxt_readsRecords();
    void importTxt_missingFile_returnsMinusOne();
    void writeTxtPhrases_writesCrLfUtf8_andReadsBack();

private:
    QString filePath() const { return dir.filePath(QStringLiteral("phrases.txt")); }
    QTemporaryDir dir;
};

void TxtReaderTest::init()
{
    QString error;
    QVERIFY2(openPhraseDatabase(QStringLiteral(":memory:"), &error), qPrintable(error));
}

void TxtReaderTest::cleanup()
{
    closePhraseDatabase();
}

static PhraseFileRow row(const char *str, const char *labels = "", const char *keyWord = "", int rating = 0,
                         int frequency = 0)
{
    return phrase(QString::fromUtf8(str), QString::fromUtf8(labels), QString::fromUtf8(keyWord), rating, frequency);
}

void TxtReaderTest::importTxt_readsRecords_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QVector<PhraseFileRow>>("expected");
    using Rows = QVector<PhraseFileRow>;
    const PhraseFileRow abc = row("a", "b", "c", 1, 2);
    const PhraseFileRow def = row("d", "e", "f", 3, 4);

    QTest::newRow("CR LF, LF, four fields give count 0")
        << QByteArray("a\tb\tc\t7\r\nd\te\tf\t3\t4\n") << Rows{row("a", "b", "c", 7), def};
    QTest::newRow("multi-line phrase, no final line end")
        << QByteArray("one\r\ntwo\nthree\tl\tk\t5\t6") << Rows{row("one\ntwo\nthree", "l", "k", 5, 6)};
    QTest::newRow("blank lines are skipped, but a trailing one is an empty phrase")
        << QByteArray("\n\na\tb\tc\t1\t2\r\n\r\n\r\nd\te\tf\t3\t4\r\n\r\n") << Rows{abc, def, row("")};
    QTest::newRow("short record at the end") << QByteArray("a\tb\tc\t1\t2\nx\ty") << Rows{abc, row("x", "y")};
    QTest::newRow("lone CR is text, TAB in a phrase shifts fields, bad rating is 0")
        << QByteArray("a\rb\tcd\tl\tk\t1\t2\r\n") << Rows{row("a\rb", "cd", "l", 0, 1)};
    QTest::newRow("empty file") << QByteArray() << Rows{};
    const QString cyrillic = QStringLiteral("ПРИВЕТ Мир\tМЕТКА\tКлюч\t3\t4\r\n");
    const Rows cyrillicRow{row("ПРИВЕТ Мир", "МЕТКА", "Ключ", 3, 4)};
    // fromUnicode() without a converter state adds no byte-order mark of its own.
    const auto withBom = [&cyrillic](const char *codec) {
        return QTextCodec::codecForName(codec)->fromUnicode(QChar(0xFEFF) + cyrillic);
    };
    QTest::newRow("UTF-8") << cyrillic.toUtf8() << cyrillicRow;
    QTest::newRow("UTF-8 BOM") << withBom("UTF-8") << cyrillicRow;
    QTest::newRow("UTF-16 LE BOM") << withBom("UTF-16LE") << cyrillicRow;
    QTest::newRow("UTF-32 BE BOM") << withBom("UTF-32BE") << cyrillicRow;
}

void TxtReaderTest::importTxt_readsRecords()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QVector<PhraseFileRow>, expected);
    QVERIFY(writeBytes(filePath(), bytes));

    ImportReport report;
    QCOMPARE(importTxt(filePath(), &report), expected.size());
    QCOMPARE(report.stored, expected.size());
    QCOMPARE(report.refused, 0);
    QVERIFY(report.error.isEmpty());
    bool shadowsOk = false;
    QCOMPARE(storedPhrases(&shadowsOk), expected);
    QVERIFY(shadowsOk);
    // Missing fields must arrive as '' too, never as NULL.
    QSqlQuery nulls(QStringLiteral("SELECT count(*) FROM TypeText WHERE Html IS NULL OR Labels IS NULL OR KeyWord "
                                   "IS NULL OR LabelLower IS NULL OR KeyLower IS NULL"));
    QVERIFY(nulls.next());
    QCOMPARE(nulls.value(0).toInt(), 0);
}

void TxtReaderTest::importTxt_missingFile_returnsMinusOne()
{
    const QString missing = dir.filePath(QStringLiteral("no such file.txt"));
    ImportReport report;
    QCOMPARE(importTxt(missing, &report), -1);
    QVERIFY2(report.error.contains(QDir::toNativeSeparators(missing)), qPrintable(report.error));
    QCOMPARE(storedCount(), 0);
}

// Exports go through the row source; CR LF ends a record, LF stays inside a phrase, and no BOM.
void TxtReaderTest::writeTxtPhrases_writesCrLfUtf8_andReadsBack()
{
    const QVector<PhraseFileRow> rows{row("a\nb", "Ä", "k", 1, 2), row("c"),
                                      row("Съешь 😀 = ; \" \\ %", "", "Ключ", -3, 2147483647),
                                      row("trailing newline\n", "x", "", 0, 1)};
    int next = 0;
    const auto source = [&](PhraseFileRow *out) { return next < rows.size() && (*out = rows[next++], true); };
    int written = -1;
    QString error;
    QVERIFY2(writeTxtPhrases(filePath(), source, &written, &error), qPrintable(error));
    QCOMPARE(written, rows.size());
    QFile file(filePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QStringLiteral("a\nb\tÄ\tk\t1\t2\r\nc\t\t\t0\t0\r\nСъешь 😀 = ; \" \\ %\t\tКлюч\t-3\t"
                                            "2147483647\r\ntrailing newline\n\tx\t\t0\t1\r\n")
                                 .toUtf8());
    QCOMPARE(importTxt(filePath()), rows.size());
    QCOMPARE(storedPhrases(), rows);
}

QTEST_GUILESS_MAIN(TxtReaderTest)
#include "tst_txtreader.moc"
