#include "db/databasefile.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

class TestDatabaseFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void withDbSuffix_data();
    void withDbSuffix();
    void backupName_data();
    void backupName();
    void copyReplacing_movesExistingAside();
    void copyReplacing_failedCopyPutsTargetBack();
    void openPhraseDatabase_data();
    void openPhraseDatabase();

private:
    QString writeFile(const QString &name, const QByteArray &content);
    QString makeDatabase(const QString &name, const QString &createSql);
    QScopedPointer<QTemporaryDir> dir;
};

void TestDatabaseFile::init()
{
    dir.reset(new QTemporaryDir);
}

void TestDatabaseFile::cleanup()
{
    QSqlDatabase::removeDatabase(QStringLiteral("probe"));
}

QString TestDatabaseFile::writeFile(const QString &name, const QByteArray &content)
{
    const QString path = dir->filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
    return path;
}

QString TestDatabaseFile::makeDatabase(const QString &name, const QString &createSql)
{
    const QString path = dir->filePath(name);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("maker"));
        db.setDatabaseName(path);
        db.open();
        if (!createSql.isEmpty())
            QSqlQuery(db).exec(createSql);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("maker"));
    return path;
}

void TestDatabaseFile::withDbSuffix_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("bare name") << "/x/phrases" << "/x/phrases.db";
    QTest::newRow("upper-case suffix kept") << "/x/Phrases.DB" << "/x/Phrases.DB";
    QTest::newRow("mixed-case suffix kept") << "/x/a.Db" << "/x/a.Db";
    QTest::newRow("other suffix") << "/x/a.txt" << "/x/a.txt.db";
    QTest::newRow("dot-less db ending") << "/x/mydb" << "/x/mydb.db";
}

void TestDatabaseFile::withDbSuffix()
{
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    QCOMPARE(::withDbSuffix(typed), expected);
}

void TestDatabaseFile::backupName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("lower case") << "/x/letters.db" << "/x/letters.bak";
    QTest::newRow("upper case") << "/x/Phrases.DB" << "/x/Phrases.bak";
}

void TestDatabaseFile::backupName()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QCOMPARE(::backupName(name), expected);
}

void TestDatabaseFile::copyReplacing_movesExistingAside()
{
    const QString source = writeFile(QStringLiteral("new.db"), "fresh");
    const QString target = writeFile(QStringLiteral("letters.db"), "former");
    writeFile(QStringLiteral("letters.bak"), "older backup");

    QVERIFY(copyReplacing(source, target));
    QFile copied(target);
    QVERIFY(copied.open(QIODevice::ReadOnly));
    QCOMPARE(copied.readAll(), QByteArray("fresh"));
    QFile backup(dir->filePath(QStringLiteral("letters.bak")));
    QVERIFY(backup.open(QIODevice::ReadOnly));
    QCOMPARE(backup.readAll(), QByteArray("former"));
}

void TestDatabaseFile::copyReplacing_failedCopyPutsTargetBack()
{
    const QString target = writeFile(QStringLiteral("letters.db"), "former");
    QVERIFY(!copyReplacing(dir->filePath(QStringLiteral("missing.db")), target));
    QFile kept(target);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("former"));
}

void TestDatabaseFile::openPhraseDatabase_data()
{
    QTest::addColumn<QString>("fileKind");
    QTest::addColumn<int>("expected");
    QTest::addColumn<bool>("openAfterwards");
    QTest::newRow("phrase database") << "good" << int(DatabaseCheck::Ok) << true;
    QTest::newRow("table in other case") << "lowercase" << int(DatabaseCheck::Ok) << true;
    QTest::newRow("database without the table") << "notable" << int(DatabaseCheck::NoPhraseTable) << true;
    QTest::newRow("text file") << "text" << int(DatabaseCheck::CannotOpen) << false;
    QTest::newRow("folder") << "folder" << int(DatabaseCheck::CannotOpen) << false;
}

void TestDatabaseFile::openPhraseDatabase()
{
    QFETCH(QString, fileKind);
    QFETCH(int, expected);
    QFETCH(bool, openAfterwards);

    QString path;
    if (fileKind == QLatin1String("good"))
        path = makeDatabase(QStringLiteral("a.db"), QStringLiteral("CREATE TABLE TypeText (id INTEGER PRIMARY KEY)"));
    else if (fileKind == QLatin1String("lowercase"))
        path = makeDatabase(QStringLiteral("a.db"), QStringLiteral("CREATE TABLE typetext (id INTEGER PRIMARY KEY)"));
    else if (fileKind == QLatin1String("notable"))
        path = makeDatabase(QStringLiteral("a.db"), QStringLiteral("CREATE TABLE Other (id INTEGER PRIMARY KEY)"));
    else if (fileKind == QLatin1String("text"))
        path = writeFile(QStringLiteral("a.db"), QByteArray("This is not a database, just some text.\n").repeated(40));
    else
        path = dir->path();

    QString error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("probe"));
        QCOMPARE(int(::openPhraseDatabase(db, path, &error)), expected);
        QCOMPARE(db.isOpen(), openAfterwards);
        QCOMPARE(error.isEmpty(), expected != int(DatabaseCheck::CannotOpen));
        db.close();
    }
}

QTEST_GUILESS_MAIN(TestDatabaseFile)
#include "tst_databasefile.moc"
