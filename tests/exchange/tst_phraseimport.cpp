#include "exchange/inireader.h"
#include "exchange/txtreader.h"
#include "phrasedb.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

// What the readers do when the database, not the file, is the problem.
class PhraseImportTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void refusedPhrases_areNotCounted_data() { formats(); }
    void refusedPhrases_areNotCounted();
    void failedCommit_keepsNothing_data() { formats(); }
    void failedCommit_keepsNothing();
    void progress_endsAtTotal_data() { formats(); }
    void progress_endsAtTotal();

private:
    static void formats();
    int import(const QString &format, ImportReport *report, const ImportProgress &progress = {}) const;
    QString filePath() const { return dir->filePath(QStringLiteral("phrases")); }
    QTemporaryDir *dir = nullptr;
};

void PhraseImportTest::init()
{
    dir = new QTemporaryDir;
    QVERIFY(dir->isValid());
    QString error;
    QVERIFY2(openPhraseDatabase(dir->filePath(QStringLiteral("test.db")), &error), qPrintable(error));
}

void PhraseImportTest::cleanup()
{
    closePhraseDatabase();
    delete dir;
    dir = nullptr;
}

// Each file holds five phrases; the second and the last read "refuse me", and the
// last is also the one named "orphan" in the commit test.
void PhraseImportTest::formats()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QByteArray>("bytes");

    QByteArray txt;
    QByteArray rows;
    QByteArray sections("[S]\r\r\n");
    const QList<QByteArray> texts{"one", "refuse me", "three", "four", "refuse me"};
    for (int i = 0; i < texts.size(); ++i) {
        txt += texts[i] + "\tl\tk\t1\t2\r\n";
        rows += "[Row" + QByteArray::number(i) + "]\nStr=" + texts[i] + "\n";
        sections += "k=" + texts[i] + "\r\r\n";
    }
    QTest::newRow("txt") << QStringLiteral("txt") << txt;
    QTest::newRow("ini rows") << QStringLiteral("ini") << rows;
    QTest::newRow("ini sections") << QStringLiteral("ini") << sections;
}

int PhraseImportTest::import(const QString &format, ImportReport *report, const ImportProgress &progress) const
{
    return format == QLatin1String("txt") ? importTxt(filePath(), report, progress)
                                          : importIni(filePath(), report, progress);
}

void PhraseImportTest::refusedPhrases_areNotCounted()
{
    QFETCH(QString, format);
    QFETCH(QByteArray, bytes);
    QVERIFY(writeBytes(filePath(), bytes));
    QVERIFY(execSql(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON TypeText WHEN NEW.Str = 'refuse me' "
                                   "BEGIN SELECT RAISE(ABORT, 'no such phrases here'); END")));

    ImportReport report;
    QCOMPARE(import(format, &report), 3);
    QCOMPARE(report.stored, 3);
    QCOMPARE(report.refused, 2);
    QVERIFY2(report.error.contains(QStringLiteral("no such phrases here")), qPrintable(report.error));
    QCOMPARE(storedCount(), 3);
}

void PhraseImportTest::failedCommit_keepsNothing()
{
    QFETCH(QString, format);
    QFETCH(QByteArray, bytes);
    QVERIFY(writeBytes(filePath(), bytes));
    // A deferred foreign key is checked only at COMMIT, after every phrase went in.
    QVERIFY(execSql(QStringLiteral("PRAGMA foreign_keys = ON")));
    QVERIFY(execSql(QStringLiteral("CREATE TABLE parent (id INTEGER PRIMARY KEY)")));
    QVERIFY(execSql(QStringLiteral("CREATE TABLE child (pid INTEGER REFERENCES parent(id) "
                                   "DEFERRABLE INITIALLY DEFERRED)")));
    QVERIFY(execSql(QStringLiteral("CREATE TRIGGER orphan AFTER INSERT ON TypeText WHEN NEW.Str = 'refuse me' "
                                   "BEGIN INSERT INTO child VALUES (42); END")));

    ImportReport report;
    QCOMPARE(import(format, &report), 0);
    QCOMPARE(report.stored, 0);
    QVERIFY(!report.error.isEmpty());
    QCOMPARE(storedCount(), 0);
    // No transaction may be left open behind the failed import.
    QVERIFY(QSqlDatabase::database().transaction());
    QVERIFY(QSqlDatabase::database().rollback());
}

void PhraseImportTest::progress_endsAtTotal()
{
    QFETCH(QString, format);
    QFETCH(QByteArray, bytes);
    QVERIFY(writeBytes(filePath(), bytes));

    qint64 lastDone = -1;
    qint64 lastTotal = -1;
    bool forward = true;
    const ImportProgress progress = [&](qint64 done, qint64 total) {
        forward = forward && done >= lastDone && done <= total;
        lastDone = done;
        lastTotal = total;
    };
    ImportReport report;
    QCOMPARE(import(format, &report, progress), 5);
    QVERIFY(forward);
    QVERIFY(lastTotal > 0);
    QCOMPARE(lastDone, lastTotal);
}

QTEST_GUILESS_MAIN(PhraseImportTest)
#include "tst_phraseimport.moc"
