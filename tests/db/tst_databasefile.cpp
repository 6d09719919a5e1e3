#include "db/databasefile.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

class TestDatabaseFile : public QObject
{
    Q_OBJECT

private slots:
    void init() { dir.reset(new QTemporaryDir); }
    void cleanup()
    {
        QSqlDatabase::removeDatabase(QStringLiteral("probe"));
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
    }
    void withDbSuffix_addsDbUnlessThereInAnyCase();
    void openPhraseDatabase_data();
    void openPhraseDatabase();
    void template_copiedOverFormerFileHoldsThePhraseTable_data();
    void template_copiedOverFormerFileHoldsThePhraseTable();
    void isWritableDatabase_data();
    void isWritableDatabase();

private:
    QString writeFile(const QString &name, const QByteArray &content)
    {
        QFile file(dir->filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() ? file.fileName() : QString();
    }
    QScopedPointer<QTemporaryDir> dir;
};

void TestDatabaseFile::withDbSuffix_addsDbUnlessThereInAnyCase()
{
    QCOMPARE(withDbSuffix(QStringLiteral("/x/phrases")), QStringLiteral("/x/phrases.db"));
    QCOMPARE(withDbSuffix(QStringLiteral("/x/Phrases.DB")), QStringLiteral("/x/Phrases.DB"));
    QCOMPARE(withDbSuffix(QStringLiteral("/x/mydb")), QStringLiteral("/x/mydb.db"));
}

void TestDatabaseFile::openPhraseDatabase_data()
{
    QTest::addColumn<QString>("content");
    QTest::addColumn<int>("expected");
    QTest::newRow("table in other case")
        << QStringLiteral("CREATE TABLE typetext (id, str, labels, keyword, hotkey, html, keylower, strlower, "
                          "labellower, rating, frequency)")
        << int(DatabaseCheck::Ok);
    QTest::newRow("no phrase table") << QStringLiteral("CREATE TABLE Other (id)") << int(DatabaseCheck::NoPhraseTable);
    QTest::newRow("text file") << QStringLiteral("Not a database, just text.\n") << int(DatabaseCheck::CannotOpen);
    QTest::newRow("folder") << QString() << int(DatabaseCheck::CannotOpen);
}

void TestDatabaseFile::openPhraseDatabase()
{
    QFETCH(QString, content);
    QFETCH(int, expected);
    const bool sql = content.startsWith(QLatin1String("CREATE"));
    const QString path =
        content.isEmpty() ? dir->path() : writeFile(QStringLiteral("a.db"), sql ? "" : content.toUtf8().repeated(40));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("probe"));
    db.setDatabaseName(path);
    QVERIFY(!sql || (db.open() && QSqlQuery(db).exec(content)));
    db.close();
    QString error;
    QCOMPARE(int(::openPhraseDatabase(db, path, &error)), expected);
    // Only a file that SQLite cannot read is closed again, and the driver says why.
    QCOMPARE(db.isOpen(), expected != int(DatabaseCheck::CannotOpen));
    QCOMPARE(error.isEmpty(), expected != int(DatabaseCheck::CannotOpen));
}

void TestDatabaseFile::isWritableDatabase_data()
{
    QTest::addColumn<QString>("options");
    QTest::addColumn<bool>("locked"); // another copy holds the write lock
    QTest::addColumn<bool>("writable");
    QTest::newRow("writable") << QString() << false << true;
    QTest::newRow("another copy writing") << QString() << true << true;
    QTest::newRow("opened read-only") << QStringLiteral("QSQLITE_OPEN_READONLY;") << false << false;
}

void TestDatabaseFile::isWritableDatabase()
{
    QFETCH(QString, options);
    QFETCH(bool, locked);
    QFETCH(bool, writable);
    const QString path = writeFile(QStringLiteral("a.db"), QByteArray());
    QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
    other.setDatabaseName(path);
    QVERIFY(other.open() && QSqlQuery(other).exec(QStringLiteral("CREATE TABLE t (x)")));
    QVERIFY(!locked || QSqlQuery(other).exec(QStringLiteral("BEGIN IMMEDIATE")));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("probe"));
    db.setConnectOptions(options + QStringLiteral("QSQLITE_BUSY_TIMEOUT=3000"));
    db.setDatabaseName(path);
    QVERIFY(db.open());
    QCOMPARE(::isWritableDatabase(db), writable);
    // The connection keeps its patience for the writes that follow.
    QSqlQuery timeout(db);
    QVERIFY(timeout.exec(QStringLiteral("PRAGMA busy_timeout")) && timeout.next());
    QCOMPARE(timeout.value(0).toInt(), 3000);
}

// The row name is the template, generated at build time; the number is how many phrases it has at least.
void TestDatabaseFile::template_copiedOverFormerFileHoldsThePhraseTable_data()
{
    QTest::addColumn<int>("phrases");
    QTest::newRow("org.db") << 10;
    QTest::newRow("new.db") << 0;
}

void TestDatabaseFile::template_copiedOverFormerFileHoldsThePhraseTable()
{
    QFETCH(int, phrases);
    const QString name = QString::fromLatin1(QTest::currentDataTag());
    const QString copy = writeFile(name, "former");
    QFile backup(writeFile(QString(name).replace(QLatin1String(".db"), QLatin1String(".bak")), "older backup"));
    QVERIFY(copyReplacing(QStringLiteral(QUILLARY_PROGRAM_DIR "/") + name, copy));
    QVERIFY(backup.open(QIODevice::ReadOnly) && backup.readAll() == "former");
    // A copy that fails once the target has gone aside puts the target back.
    QVERIFY(!copyReplacing(dir->filePath(QStringLiteral("missing.db")), copy));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("probe"));
    QString error;
    QCOMPARE(int(::openPhraseDatabase(db, copy, &error)), int(DatabaseCheck::Ok));
    QSqlQuery query(QStringLiteral("SELECT Str, StrLower, Labels, LabelLower, KeyWord, KeyLower FROM TypeText"), db);
    int rows = 0;
    for (; query.next(); ++rows) {
        for (int column = 0; column < 6; column += 2)
            QCOMPARE(query.value(column + 1).toString(), query.value(column).toString().toLower());
    }
    QVERIFY(phrases ? rows >= phrases : rows == 0);
    // New rows get ids of their own and zero counts, which the usage counter adds to.
    QVERIFY(query.exec(QStringLiteral("INSERT INTO TypeText (Str) VALUES ('x'), ('y')")) &&
            query.exec(QStringLiteral("SELECT count(DISTINCT id) FROM TypeText WHERE Rating = 0 AND Frequency = 0 "
                                      "AND Str IN ('x', 'y')")) &&
            query.next());
    QCOMPARE(query.value(0).toInt(), 2);
}

QTEST_GUILESS_MAIN(TestDatabaseFile)
#include "tst_databasefile.moc"
