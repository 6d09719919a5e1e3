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
    void importTxt_storesMissingTextsAsEmpty();
    void importTxt_missingFile_returnsMinusOne();
    void roundTrip_givesRowsBack();
    void writeTxtPhrases_writesCrLfUtf8WithoutBom();

private:
    QString filePath() const { return dir->filePath(QStringLiteral("phrases.txt")); }
    QTemporaryDir *dir = nullptr;
};

void TxtReaderTest::init()
{
    dir = new QTemporaryDir;
    QVERIFY(dir->isValid());
    QString error;
    QVERIFY2(openPhraseDatabase(dir->filePath(QStringLiteral("test.db")), &error), qPrintable(error));
}

void TxtReaderTest::cleanup()
{
    closePhraseDatabase();
    delete dir;
    dir = nullptr;
}

static QByteArray encoded(const char *codec, const QString &text)
{
    // The test writes its own byte-order mark; the codec must not add a second one.
    QTextEncoder encoder(QTextCodec::codecForName(codec), QTextCodec::IgnoreHeader);
    return encoder.fromUnicode(text);
}

void TxtReaderTest::importTxt_readsRecords_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QVector<PhraseFileRow>>("expected");

    using Rows = QVector<PhraseFileRow>;
    const QString one = QStringLiteral("a\tb\tc\t1\t2\r\n");
    const Rows oneRow{phrase(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), 1, 2)};

    QTest::newRow("five fields, CR LF") << one.toUtf8() << oneRow;
    QTest::newRow("LF only") << QByteArray("a\tb\tc\t1\t2\nd\te\tf\t3\t4\n")
                             << Rows{oneRow[0],
                                     phrase(QStringLiteral("d"), QStringLiteral("e"), QStringLiteral("f"), 3, 4)};
    QTest::newRow("last record without line end") << QByteArray("a\tb\tc\t1\t2") << oneRow;
    QTest::newRow("multi-line phrase") << QByteArray("one\ntwo\nthree\tl\tk\t5\t6\r\n")
                                       << Rows{phrase(QStringLiteral("one\ntwo\nthree"), QStringLiteral("l"),
                                                      QStringLiteral("k"), 5, 6)};
    QTest::newRow("CR LF inside a phrase comes back as LF")
        << QByteArray("one\r\ntwo\tl\tk\t1\t1\r\n")
        << Rows{phrase(QStringLiteral("one\ntwo"), QStringLiteral("l"), QStringLiteral("k"), 1, 1)};
    QTest::newRow("blank lines between records are skipped")
        << QByteArray("a\tb\tc\t1\t2\r\n\r\n\r\nd\te\tf\t3\t4\r\n")
        << Rows{oneRow[0], phrase(QStringLiteral("d"), QStringLiteral("e"), QStringLiteral("f"), 3, 4)};
    QTest::newRow("leading line breaks are lost")
        << QByteArray("\n\ntext\tl\tk\t1\t2\n")
        << Rows{phrase(QStringLiteral("text"), QStringLiteral("l"), QStringLiteral("k"), 1, 2)};
    QTest::newRow("trailing blank line gives an empty phrase")
        << QByteArray("a\tb\tc\t1\t2\r\n\r\n") << Rows{oneRow[0], phrase(QString())};
    QTest::newRow("four fields give count 0")
        << QByteArray("a\tb\tc\t7\r\nd\te\tf\t3\t4\r\n")
        << Rows{phrase(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), 7),
                phrase(QStringLiteral("d"), QStringLiteral("e"), QStringLiteral("f"), 3, 4)};
    QTest::newRow("fields after the fifth are ignored") << QByteArray("a\tb\tc\t1\t2\textra\tmore\r\n") << oneRow;
    QTest::newRow("rating abc gives 0") << QByteArray("a\tb\tc\tabc\t5\r\n")
                                        << Rows{phrase(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), 0,
                                                       5)};
    QTest::newRow("short record at the end")
        << QByteArray("a\tb\tc\t1\t2\nx\ty\n") << Rows{oneRow[0], phrase(QStringLiteral("x"), QStringLiteral("y"))};
    QTest::newRow("no TAB: one phrase of all lines")
        << QByteArray("x\ny\r\nz") << Rows{phrase(QStringLiteral("x\ny\nz"))};
    QTest::newRow("TAB in a phrase shifts the fields")
        << QByteArray("ab\tcd\tl\tk\t1\t2\r\n")
        << Rows{phrase(QStringLiteral("ab"), QStringLiteral("cd"), QStringLiteral("l"), 0, 1)};
    QTest::newRow("lone CR is text") << QByteArray("a\rb\tl\tk\t1\t2\r\n")
                                     << Rows{phrase(QStringLiteral("a\rb"), QStringLiteral("l"), QStringLiteral("k"), 1,
                                                    2)};
    QTest::newRow("empty file") << QByteArray() << Rows{};
    const QString cyrillic = QStringLiteral("ПРИВЕТ Мир\tМЕТКА\tКлюч\t3\t4\r\n");
    const Rows cyrillicRow{phrase(QStringLiteral("ПРИВЕТ Мир"), QStringLiteral("МЕТКА"), QStringLiteral("Ключ"), 3, 4)};
    QTest::newRow("Cyrillic") << cyrillic.toUtf8() << cyrillicRow;
    QTest::newRow("UTF-8 BOM") << QByteArray("\xEF\xBB\xBF") + one.toUtf8() << oneRow;
    QTest::newRow("UTF-16 LE BOM") << encoded("UTF-16LE", QChar(0xFEFF) + cyrillic) << cyrillicRow;
    QTest::newRow("UTF-16 BE BOM") << encoded("UTF-16BE", QChar(0xFEFF) + cyrillic) << cyrillicRow;
    QTest::newRow("UTF-32 LE BOM") << encoded("UTF-32LE", QChar(0xFEFF) + cyrillic) << cyrillicRow;
    QTest::newRow("UTF-32 BE BOM") << encoded("UTF-32BE", QChar(0xFEFF) + cyrillic) << cyrillicRow;
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
}

void TxtReaderTest::importTxt_storesMissingTextsAsEmpty()
{
    // Missing fields must arrive as '' too, never as NULL.
    QVERIFY(writeBytes(filePath(), "only text"));
    QCOMPARE(importTxt(filePath()), 1);
    QSqlQuery query(QStringLiteral("SELECT count(*) FROM TypeText WHERE Html = '' AND Labels = '' AND KeyWord = '' "
                                   "AND LabelLower = '' AND KeyLower = ''"));
    QVERIFY(query.next());
    QCOMPARE(query.value(0).toInt(), 1);
}

void TxtReaderTest::importTxt_missingFile_returnsMinusOne()
{
    const QString missing = dir->filePath(QStringLiteral("no such file.txt"));
    ImportReport report;
    QCOMPARE(importTxt(missing, &report), -1);
    QVERIFY2(report.error.contains(QDir::toNativeSeparators(missing)), qPrintable(report.error));
    QCOMPARE(storedCount(), 0);
}

void TxtReaderTest::roundTrip_givesRowsBack()
{
    const QVector<PhraseFileRow> rows{
        phrase(QStringLiteral("first line\nsecond line\nthird"), QStringLiteral("a, b"), QStringLiteral("kw"), 5, 9),
        phrase(QStringLiteral("Съешь же ещё этих мягких булок"), QStringLiteral("Русский"), QStringLiteral("Ключ"), 100,
               0),
        phrase(QStringLiteral("emoji 😀 and = ; \" \\ %"), QString(), QString(), -3, 2147483647),
        phrase(QStringLiteral("trailing newline\n"), QStringLiteral("x"), QString(), 0, 1),
        phrase(QStringLiteral("last"), QString(), QStringLiteral("end"), 1, 1),
    };
    QString error;
    QVERIFY2(writeTxtPhrases(filePath(), rows, &error), qPrintable(error));
    QCOMPARE(importTxt(filePath()), rows.size());
    QCOMPARE(storedPhrases(), rows);
}

void TxtReaderTest::writeTxtPhrases_writesCrLfUtf8WithoutBom()
{
    int written = -1;
    QString error;
    int next = 0;
    const auto source = [&next](PhraseFileRow *row) {
        if (next == 2)
            return false;
        *row = next++ == 0 ? phrase(QStringLiteral("a\nb"), QStringLiteral("Ä"), QStringLiteral("k"), 1, 2)
                           : phrase(QStringLiteral("c"));
        return true;
    };
    QVERIFY2(writeTxtPhrases(filePath(), source, &written, &error), qPrintable(error));
    QCOMPARE(written, 2);
    QFile file(filePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("a\nb\t\xC3\x84\tk\t1\t2\r\nc\t\t\t0\t0\r\n"));
}

QTEST_GUILESS_MAIN(TxtReaderTest)
#include "tst_txtreader.moc"
