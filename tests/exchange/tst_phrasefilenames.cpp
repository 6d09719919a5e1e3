#include "exchange/phrasefilenames.h"

#include <QTemporaryDir>
#include <QtTest>

class TestPhraseFileNames : public QObject
{
    Q_OBJECT

private slots:
    void importName_data();
    void importName();
    void exportName_data();
    void exportName();
};

void TestPhraseFileNames::importName_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<bool>("ini");
    QTest::addColumn<QString>("txtName");

    QTest::newRow("txt") << "a.txt" << true << false << "a.txt";
    QTest::newRow("upper-case TXT read as it is") << "a.TXT" << true << false << "a.TXT";
    QTest::newRow("ini") << "a.ini" << true << true << "";
    QTest::newRow("upper-case INI is INI") << "a.INI" << true << true << "";
    QTest::newRow("ini before another extension") << "a.ini.txt" << true << true << "";
    QTest::newRow("existing file without extension read as it is") << "notes" << true << false << "notes";
    QTest::newRow("missing name completed") << "notes" << false << false << "notes.txt";
    QTest::newRow("missing csv completed") << "a.csv" << false << false << "a.csv.txt";
}

void TestPhraseFileNames::importName()
{
    QFETCH(QString, chosen);
    QFETCH(bool, exists);
    QFETCH(bool, ini);
    QFETCH(QString, txtName);

    QTemporaryDir dir;
    const QString path = dir.filePath(chosen);
    if (exists) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QCOMPARE(isIniImportName(path), ini);
    if (!ini)
        QCOMPARE(txtImportName(path), dir.filePath(txtName));
}

void TestPhraseFileNames::exportName_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");

    QTest::newRow("txt filter, bare name") << "*.txt " << "out" << "out.txt";
    QTest::newRow("txt filter, txt name") << "*.txt " << "out.TXT" << "out.TXT";
    QTest::newRow("txt filter, ini name") << "*.txt " << "out.ini" << "out.ini.txt";
    QTest::newRow("ini filter, bare name") << " *.ini" << "out" << "out.ini";
    QTest::newRow("ini filter, txt name") << " *.ini" << "out.txt" << "out.txt.ini";
    QTest::newRow("ini filter, upper-case ini name") << " *.INI" << "out.Ini" << "out.Ini";
}

void TestPhraseFileNames::exportName()
{
    QFETCH(QString, filter);
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QCOMPARE(::exportName(typed, isIniExportFilter(filter)), written);
}

QTEST_GUILESS_MAIN(TestPhraseFileNames)
#include "tst_phrasefilenames.moc"
