#include "../common/pgcluster.h"
#include "../common/phrasedatabase.h"
#include "browser/phrasemodel.h"
#include "db/phraseconnection.h"
#include "db/phrasestore.h"
#include "db/serverdatabase.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <thread>

// The store on a real file of the template's schema, and on a real server with the table
// the program makes there, with other connections standing in for another running copy.
class TestPhraseStore : public QObject
{
    Q_OBJECT

public:
    explicit TestPhraseStore(bool server)
        : server(server)
    {}

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void countUse_twoCopiesLoseNoUse();
    void refusedWrites_areReported_data();
    void refusedWrites_areReported();
    void batch_refusalTakesBackEverything();
    void modelSelect_leavesNoReadOpen();
    void briefLock_isWaitedFor();
    void conditionalWrite_data();
    void conditionalWrite();

private:
    QSqlDatabase connect(const QString &name, int busyMs = 50);
    static QString value(const QString &sql);
    static qint64 addPhrase(const QString &str);

    QTemporaryDir dir;
    QString path;
    const bool server;
    PgCluster cluster;
};

void TestPhraseStore::initTestCase()
{
    if (!server)
        return;
    QUILLARY_START_PG(cluster);
    // The table, its triggers and indexes as the program makes them at its first connect.
    QSqlDatabase db = phraseConnection(cluster.uri(), QStringLiteral("schema"));
    QString error;
    QCOMPARE(openServerDatabase(db, cluster.uri(), &error), DatabaseCheck::Ok);
    QVERIFY(isSearchIndexed(db));
    db.close();
}

QSqlDatabase TestPhraseStore::connect(const QString &name, int busyMs)
{
    if (server)
        return cluster.open(name);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyMs));
    db.setDatabaseName(path);
    db.open();
    return db;
}

void TestPhraseStore::init()
{
    if (server) {
        QString error;
        QVERIFY2(
            cluster.psql(QStringLiteral("DROP TRIGGER IF EXISTS disk_full ON TypeText; TRUNCATE TypeText"), &error),
            qPrintable(error));
        QVERIFY(connect(QStringLiteral("a")).isOpen());
        return;
    }
    path = dir.filePath(QStringLiteral("phrases.db"));
    QFile::remove(path);
    QVERIFY(PhraseDatabase::create(path));
    QVERIFY(connect(QStringLiteral("a")).isOpen());
}

void TestPhraseStore::cleanup()
{
    for (const QString &name : QSqlDatabase::connectionNames()) {
        QSqlDatabase::database(name, false).close();
        QSqlDatabase::removeDatabase(name);
    }
}

QString TestPhraseStore::value(const QString &sql)
{
    QSqlQuery query(QSqlDatabase::database(QStringLiteral("a")));
    if (!query.exec(sql) || !query.next())
        return QStringLiteral("<%1>").arg(query.lastError().text());
    return query.isNull(0) ? QStringLiteral("<null>") : query.value(0).toString();
}

qint64 TestPhraseStore::addPhrase(const QString &str)
{
    PhraseRecord record;
    record.str = str;
    QVector<qint64> ids;
    PhraseStore(QStringLiteral("a")).insert({record}, &ids, nullptr);
    return ids.value(0, -1);
}

void TestPhraseStore::countUse_twoCopiesLoseNoUse()
{
    const qint64 id = addPhrase(QStringLiteral("shared"));
    connect(QStringLiteral("b"), 2000);
    PhraseStore mine(QStringLiteral("a"));
    PhraseStore theirs(QStringLiteral("b"));
    for (int use = 1; use <= 20; ++use) {
        int count = -1;
        QString error;
        QVERIFY2((use % 2 ? mine : theirs).countUse(id, &count, &error), qPrintable(error));
        QCOMPARE(count, use);
    }
    QCOMPARE(value(QStringLiteral("SELECT Frequency FROM TypeText")), QStringLiteral("20"));
}

void TestPhraseStore::refusedWrites_areReported_data()
{
    QTest::addColumn<bool>("locked"); // else the phrase is gone
    QTest::addColumn<QString>("reason");
    if (!server)
        QTest::newRow("file locked by another program") << true << "locked";
    QTest::newRow("phrase deleted by another copy") << false << "no longer";
}

void TestPhraseStore::refusedWrites_areReported()
{
    QFETCH(bool, locked);
    QFETCH(QString, reason);
    const qint64 id = addPhrase(QStringLiteral("kept"));
    const qint64 target = locked ? id : id + 1;
    QSqlQuery lock(connect(QStringLiteral("other")));
    if (locked)
        QVERIFY(lock.exec(QStringLiteral("BEGIN EXCLUSIVE")));
    PhraseStore store(QStringLiteral("a"));
    const QVector<std::function<bool(QString *)>> writes = {
        [&](QString *e) { return store.countUse(target, nullptr, e); },
        [&](QString *e) { return store.setText(target, QStringLiteral("x"), QString(), e); },
        [&](QString *e) { return store.setField(target, PhraseStore::KeyWord, QStringLiteral("x"), e); },
        [&](QString *e) { return !locked || store.insert({PhraseRecord()}, nullptr, e); },
        [&](QString *e) { return !locked || store.remove({id}, e); },
    };
    const char *names[] = {"count use", "set text", "set field", "insert", "remove"};
    for (int i = 0; i < writes.size(); ++i) {
        QString error;
        const bool refused = !writes[i](&error);
        QVERIFY2(refused == (locked || i < 3), names[i]);
        if (refused)
            QVERIFY2(error.contains(reason), qPrintable(QLatin1String(names[i]) + QLatin1String(": ") + error));
    }
    lock.exec(QStringLiteral("ROLLBACK"));
    QCOMPARE(value(QStringLiteral("SELECT count(*) FROM TypeText")), QStringLiteral("1"));
    QCOMPARE(value(QStringLiteral("SELECT Str FROM TypeText")), QStringLiteral("kept"));
    QCOMPARE(value(QStringLiteral("SELECT Frequency FROM TypeText")), QStringLiteral("0"));
}

void TestPhraseStore::batch_refusalTakesBackEverything()
{
    addPhrase(QStringLiteral("before"));
    // The database refuses its fourth phrase, as a full disk would.
    QSqlQuery full(QSqlDatabase::database(QStringLiteral("a")));
    const QString fullFunction = QStringLiteral(
        "CREATE OR REPLACE FUNCTION disk_full() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN IF (SELECT "
        "count(*) FROM TypeText) >= 3 THEN RAISE 'database or disk is full'; END IF; RETURN NEW; END $$");
    if (server)
        QVERIFY2(full.exec(fullFunction), qPrintable(full.lastError().text()));
    QVERIFY2(full.exec(server
                           ? QStringLiteral("CREATE TRIGGER disk_full BEFORE INSERT ON TypeText FOR EACH ROW EXECUTE "
                                            "FUNCTION disk_full()")
                           : QStringLiteral("CREATE TRIGGER disk_full BEFORE INSERT ON TypeText WHEN (SELECT count(*) "
                                            "FROM TypeText) >= 3 BEGIN SELECT RAISE(ABORT, 'database or disk is "
                                            "full'); END")),
             qPrintable(full.lastError().text()));
    PhraseStore store(QStringLiteral("a"));
    QString error;
    QVERIFY(store.begin(&error));
    QVERIFY2(store.add(PhraseRecord(), &error), qPrintable(error));
    QVERIFY2(store.add(PhraseRecord(), &error), qPrintable(error));
    // A server's batch goes to it many phrases at a time: the refusal comes with the commit.
    QCOMPARE(store.add(PhraseRecord(), &error), server);
    QVERIFY(!store.commit(&error));
    QVERIFY2(error.contains(QLatin1String("full")), qPrintable(error));
    QCOMPARE(value(QStringLiteral("SELECT count(*) FROM TypeText")), QStringLiteral("1"));
    // The connection is out of the transaction: a later write stands on its own.
    QVERIFY(addPhrase(QStringLiteral("after")) > 0);
    QCOMPARE(value(QStringLiteral("SELECT count(*) FROM TypeText")), QStringLiteral("2"));
}

void TestPhraseStore::modelSelect_leavesNoReadOpen()
{
    if (server)
        QSKIP("a server's readers hold no lock that stops a writer");
    // More rows than the model fetches at a time, so that a lazy model would keep reading.
    QVERIFY(PhraseStore(QStringLiteral("a")).insert(QVector<PhraseRecord>(600), nullptr, nullptr));
    PhraseModel model(nullptr, QSqlDatabase::database(QStringLiteral("a")));
    model.setTable(PhraseStore::tableName());
    QVERIFY(model.select());
    QCOMPARE(model.rowCount(), 600);
    QSqlQuery other(connect(QStringLiteral("other"), 0));
    QVERIFY2(other.exec(QStringLiteral("DELETE FROM TypeText")), qPrintable(other.lastError().text()));
}

// Another copy holds the file for a moment while it writes; the program's connection waits.
void TestPhraseStore::briefLock_isWaitedFor()
{
    if (server)
        QSKIP("a server queues writers itself");
    const qint64 id = addPhrase(QStringLiteral("shared"));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("program"));
    PhraseStore::configure(db);
    db.setDatabaseName(path);
    QVERIFY(db.open());
    QAtomicInt locked = 0;
    std::thread other([this, &locked] {
        {
            QSqlDatabase lockHolder = connect(QStringLiteral("holder"));
            QSqlQuery(QStringLiteral("BEGIN EXCLUSIVE"), lockHolder);
            locked = 1;
            QThread::msleep(300);
            QSqlQuery(QStringLiteral("ROLLBACK"), lockHolder);
        }
        QSqlDatabase::removeDatabase(QStringLiteral("holder"));
    });
    while (!locked)
        QThread::yieldCurrentThread();
    QString error;
    const bool counted = PhraseStore(QStringLiteral("program")).countUse(id, nullptr, &error);
    other.join();
    QVERIFY2(counted, qPrintable(error));
}

Q_DECLARE_METATYPE(PhraseStore::Field)
Q_DECLARE_METATYPE(PhraseStore::Outcome)

// A write based on what the writer saw, while another copy (connection "b") writes too.
void TestPhraseStore::conditionalWrite_data()
{
    QTest::addColumn<QString>("theirs"); // run by the other copy between reading and writing
    QTest::addColumn<PhraseStore::Field>("field");
    QTest::addColumn<QString>("mine");
    QTest::addColumn<PhraseStore::Outcome>("outcome");
    QTest::addColumn<QString>("stored"); // the field in the file afterwards; <none> when gone
    using F = PhraseStore;
    using O = PhraseStore::Outcome;
    const QString changeText = QStringLiteral("UPDATE TypeText SET Str = 'theirs', StrLower = 'theirs'");
    QTest::newRow("nobody else wrote") << "" << F::Str << "Mine" << O::Stored << "Mine";
    QTest::newRow("text changed meanwhile") << changeText << F::Str << "Mine" << O::Conflict << "theirs";
    QTest::newRow("rich text changed meanwhile")
        << "UPDATE TypeText SET Html = '<b>base</b>'" << F::Str << "Mine" << O::Conflict << "base";
    QTest::newRow("rich text dropped meanwhile")
        << "UPDATE TypeText SET Html = NULL" << F::Str << "Mine" << O::Conflict << "base";
    QTest::newRow("deleted meanwhile") << "DELETE FROM TypeText" << F::Str << "Mine" << O::Gone << "<none>";
    QTest::newRow("same text written meanwhile")
        << "UPDATE TypeText SET Str = 'Mine', StrLower = 'mine'" << F::Str << "Mine" << O::Stored << "Mine";
    QTest::newRow("nothing typed, text changed meanwhile")
        << changeText << F::Str << "base" << O::Unchanged << "theirs";
    QTest::newRow("labels changed, text written")
        << "UPDATE TypeText SET Labels = 'theirs'" << F::Str << "Mine" << O::Stored << "Mine";
    QTest::newRow("labels changed meanwhile")
        << "UPDATE TypeText SET Labels = 'theirs'" << F::Labels << "Mine" << O::Conflict << "theirs";
    QTest::newRow("text changed, labels written") << changeText << F::Labels << "Mine" << O::Stored << "Mine";
    QTest::newRow("comment deleted meanwhile") << "DELETE FROM TypeText" << F::KeyWord << "Mine" << O::Gone << "<none>";
    QTest::newRow("rating changed meanwhile")
        << "UPDATE TypeText SET Rating = 7" << F::Rating << "50" << O::Conflict << "7";
    QTest::newRow("rating unchanged, uses counted meanwhile")
        << "UPDATE TypeText SET Frequency = 9" << F::Rating << "50" << O::Stored << "50";
}

void TestPhraseStore::conditionalWrite()
{
    QFETCH(QString, theirs);
    QFETCH(PhraseStore::Field, field);
    QFETCH(QString, mine);
    QFETCH(PhraseStore::Outcome, outcome);
    PhraseRecord base;
    base.str = QStringLiteral("base");
    base.labels = QStringLiteral("base");
    base.keyWord = QStringLiteral("base");
    QVector<qint64> ids;
    QVERIFY(PhraseStore(QStringLiteral("a")).insert({base}, &ids, nullptr));
    QSqlQuery other(connect(QStringLiteral("b")));
    if (!theirs.isEmpty())
        QVERIFY2(other.exec(theirs), qPrintable(other.lastError().text()));

    PhraseStore store(QStringLiteral("a"));
    QString error;
    const PhraseStore::Outcome result =
        field == PhraseStore::Str
            ? store.setText(ids[0], mine, QStringLiteral(""), base.str, base.html, &error)
            : store.setField(ids[0], field, mine, field == PhraseStore::Rating ? QVariant(0) : QVariant(base.str),
                             &error);
    QVERIFY2(result != PhraseStore::Outcome::Failed, qPrintable(error));
    QCOMPARE(result, outcome);
    QTEST(value(QStringLiteral("SELECT COALESCE((SELECT CAST(%1 AS TEXT) FROM TypeText), '<none>')")
                    .arg(PhraseStore::fieldName(field))),
          "stored");
    // The lower-case copy the search reads follows whatever the file kept.
    if (field == PhraseStore::Str && outcome != PhraseStore::Outcome::Gone)
        QCOMPARE(value(QStringLiteral("SELECT StrLower FROM TypeText")),
                 value(QStringLiteral("SELECT lower(Str) FROM TypeText")));
}

// Every behaviour once on a file and once on a server.
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    TestPhraseStore file(false);
    TestPhraseStore server(true);
    return QTest::qExec(&file, argc, argv) | QTest::qExec(&server, argc, argv);
}
#include "tst_phrasestore.moc"
