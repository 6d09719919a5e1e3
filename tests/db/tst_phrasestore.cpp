#include "../common/pgcluster.h"
#include "../common/phrasedatabase.h"
#include "browser/phrasemodel.h"
#include "db/phraseconnection.h"
#include "db/phrasestore.h"
#include "db/serveraddress.h"
#include "db/serverdatabase.h"

#include <QtSql>
#include <QtTest>

#include <thread>

Q_DECLARE_METATYPE(PhraseStore::Field)
Q_DECLARE_METATYPE(PhraseStore::Outcome)

// The store on a real file of the template's schema, and on a real server with the table
// the program makes there, with other connections standing in for another running copy.
class TestPhraseStore : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("phrases.db"));
    const bool server;
    PgCluster cluster;

    QSqlDatabase connect(const QString &name, int busyMs = 50)
    {
        QSqlDatabase db = phraseConnection(server ? cluster.uri() : path, name);
        if (server) {
            ServerAddress::parse(cluster.uri()).applyTo(db);
        } else {
            db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyMs));
            db.setDatabaseName(path);
        }
        db.open();
        return db;
    }

    static QString value(const QString &sql)
    {
        QSqlQuery query(QSqlDatabase::database(QStringLiteral("a")));
        if (!query.exec(sql) || !query.next())
            return QStringLiteral("<%1>").arg(query.lastError().text());
        return query.isNull(0) ? QStringLiteral("<null>") : query.value(0).toString();
    }

    static qint64 addPhrase(const PhraseRecord &record)
    {
        QVector<qint64> ids;
        PhraseStore(QStringLiteral("a")).insert({record}, &ids, nullptr);
        return ids.value(0, -1);
    }

public:
    explicit TestPhraseStore(bool server)
        : server(server)
    {}

private slots:
    void initTestCase()
    {
        if (server) {
            QUILLARY_START_PG(cluster);
            // The table, its triggers and indexes as the program makes them at its first connect.
            QSqlDatabase db = phraseConnection(cluster.uri(), QStringLiteral("schema"));
            QString error;
            QCOMPARE(openServerDatabase(db, cluster.uri(), &error), DatabaseCheck::Ok);
            QVERIFY(isSearchIndexed(db));
        } else {
            QVERIFY(PhraseDatabase::create(path));
        }
    }

    void init()
    {
        QSqlQuery query(connect(QStringLiteral("a")));
        QVERIFY2(query.exec(QStringLiteral("DELETE FROM TypeText")), qPrintable(query.lastError().text()));
    }

    void cleanup()
    {
        for (const QString &name : QSqlDatabase::connectionNames())
            QSqlDatabase::removeDatabase(name);
    }

    void refusedWrites_areReported_data()
    {
        QTest::addColumn<bool>("locked"); // else the phrase is gone
        QTest::addColumn<QString>("reason");
        if (!server)
            QTest::newRow("file locked by another program") << true << "locked";
        QTest::newRow("phrase deleted by another copy") << false << "no longer";
    }

    void refusedWrites_areReported()
    {
        QFETCH(bool, locked);
        QFETCH(QString, reason);
        const qint64 id = addPhrase({QStringLiteral("kept")});
        const qint64 target = locked ? id : id + 1;
        QSqlQuery lock(connect(QStringLiteral("other")));
        if (locked)
            QVERIFY(lock.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        PhraseStore store(QStringLiteral("a"));
        // The writes by id; a lock also stops the last two, which need no phrase gone.
        const QVector<QPair<const char *, std::function<bool(QString *)>>> writes = {
            {"count use", [&](QString *e) { return store.countUse(target, nullptr, e); }},
            {"set text", [&](QString *e) { return store.setText(target, QStringLiteral("x"), QString(), e); }},
            {"set field",
             [&](QString *e) { return store.setField(target, PhraseStore::KeyWord, QStringLiteral("x"), e); }},
            {"insert", [&](QString *e) { return store.insert({PhraseRecord()}, nullptr, e); }},
            {"remove", [&](QString *e) { return store.remove({id}, e); }},
        };
        for (int i = 0; i < (locked ? writes.size() : 3); ++i) {
            QString error;
            QVERIFY2(!writes[i].second(&error), writes[i].first);
            QVERIFY2(error.contains(reason), qPrintable(QLatin1String(writes[i].first) + QLatin1String(": ") + error));
        }
        lock.exec(QStringLiteral("ROLLBACK"));
        QCOMPARE(value(QStringLiteral("SELECT count(*) FROM TypeText")), QStringLiteral("1"));
        QCOMPARE(value(QStringLiteral("SELECT Str FROM TypeText")), QStringLiteral("kept"));
        QCOMPARE(value(QStringLiteral("SELECT Frequency FROM TypeText")), QStringLiteral("0"));
    }

    void batch_refusalTakesBackEverything()
    {
        addPhrase({QStringLiteral("before")});
        // The database refuses the batch's third phrase, as a full disk would: its text is there already.
        QSqlQuery query(QSqlDatabase::database(QStringLiteral("a")));
        QVERIFY2(query.exec(QStringLiteral("CREATE UNIQUE INDEX one_text ON TypeText (Str)")),
                 qPrintable(query.lastError().text()));
        const auto dropIndex = qScopeGuard([&query] { query.exec(QStringLiteral("DROP INDEX one_text")); });
        PhraseStore store(QStringLiteral("a"));
        QString error;
        QVERIFY(store.begin(&error));
        QVERIFY2(store.add({QStringLiteral("x")}, &error), qPrintable(error));
        QVERIFY2(store.add({QStringLiteral("y")}, &error), qPrintable(error));
        // A server's batch goes to it many phrases at a time: the refusal comes with the commit.
        QCOMPARE(store.add({QStringLiteral("before")}, &error), server);
        QVERIFY(!store.commit(&error));
        QVERIFY2(error.contains(QLatin1String("unique"), Qt::CaseInsensitive), qPrintable(error));
        QCOMPARE(value(QStringLiteral("SELECT count(*) FROM TypeText")), QStringLiteral("1"));
        // The connection is out of the transaction: a later write stands on its own.
        QVERIFY(addPhrase({QStringLiteral("after")}) > 0);
        QCOMPARE(value(QStringLiteral("SELECT count(*) FROM TypeText")), QStringLiteral("2"));
    }

    // More rows than a server takes in one statement, and than a model fetches at a time.
    void manyRows_storedWholeAndReadToTheEnd()
    {
        QVector<qint64> ids;
        QVERIFY(PhraseStore(QStringLiteral("a")).insert(QVector<PhraseRecord>(600), &ids, nullptr));
        QCOMPARE(value(QStringLiteral("SELECT count(*) FROM TypeText")), QStringLiteral("600"));
        QCOMPARE(value(QStringLiteral("SELECT max(id) FROM TypeText")), QString::number(ids.value(599)));
        if (server)
            QSKIP("a server's readers hold no lock that stops a writer");
        PhraseModel model(nullptr, QSqlDatabase::database(QStringLiteral("a")));
        model.setTable(PhraseStore::tableName());
        QVERIFY(model.select());
        QCOMPARE(model.rowCount(), 600);
        // A model still reading would keep another copy from writing.
        QSqlQuery other(connect(QStringLiteral("other"), 0));
        QVERIFY2(other.exec(QStringLiteral("DELETE FROM TypeText")), qPrintable(other.lastError().text()));
    }

    // Another copy holds the file for a moment while it writes; the program's connection waits.
    void briefLock_isWaitedFor()
    {
        if (server)
            QSKIP("a server queues writers itself");
        const qint64 id = addPhrase({QStringLiteral("shared")});
        QSqlDatabase db = phraseConnection(path, QStringLiteral("program"));
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QAtomicInt locked = 0;
        std::thread other([this, &locked] {
            QSqlQuery(QStringLiteral("BEGIN EXCLUSIVE"), connect(QStringLiteral("holder")));
            locked = 1;
            QThread::msleep(300);
            QSqlQuery(QStringLiteral("ROLLBACK"), QSqlDatabase::database(QStringLiteral("holder")));
            QSqlDatabase::removeDatabase(QStringLiteral("holder"));
        });
        while (!locked)
            QThread::yieldCurrentThread();
        QString error;
        const bool counted = PhraseStore(QStringLiteral("program")).countUse(id, nullptr, &error);
        other.join();
        QVERIFY2(counted, qPrintable(error));
    }

    // A write based on what the writer saw, while another copy (connection "b") writes too.
    void conditionalWrite_data()
    {
        QTest::addColumn<QString>("theirs"); // run by the other copy between reading and writing
        QTest::addColumn<PhraseStore::Field>("field");
        QTest::addColumn<QString>("mine");
        QTest::addColumn<PhraseStore::Outcome>("outcome");
        QTest::addColumn<QString>("stored"); // the field in the file afterwards; <none> when gone
        using F = PhraseStore;
        using O = PhraseStore::Outcome;
        const auto add = [](const char *row, const char *theirs, F::Field field, const char *mine, O outcome,
                            const char *stored) { QTest::newRow(row) << theirs << field << mine << outcome << stored; };
        const char *const text = "UPDATE TypeText SET Str = 'theirs', StrLower = 'theirs'";
        const char *const labels = "UPDATE TypeText SET Labels = 'theirs'";
        add("nobody else wrote", "", F::Str, "Mine", O::Stored, "Mine");
        add("text changed meanwhile", text, F::Str, "Mine", O::Conflict, "theirs");
        add("rich text dropped meanwhile", "UPDATE TypeText SET Html = NULL", F::Str, "Mine", O::Conflict, "base");
        add("deleted meanwhile", "DELETE FROM TypeText", F::Str, "Mine", O::Gone, "<none>");
        add("same text written meanwhile", "UPDATE TypeText SET Str = 'Mine', StrLower = 'mine'", F::Str, "Mine",
            O::Stored, "Mine");
        add("nothing typed, text changed meanwhile", text, F::Str, "base", O::Unchanged, "theirs");
        add("labels changed, text written", labels, F::Str, "Mine", O::Stored, "Mine");
        add("labels changed meanwhile", labels, F::Labels, "Mine", O::Conflict, "theirs");
        add("rating changed meanwhile", "UPDATE TypeText SET Rating = 7", F::Rating, "50", O::Conflict, "7");
        add("rating set while uses counted", "UPDATE TypeText SET Frequency = 9", F::Rating, "50", O::Stored, "50");
    }

    void conditionalWrite()
    {
        QFETCH(QString, theirs);
        QFETCH(PhraseStore::Field, field);
        QFETCH(QString, mine);
        const PhraseRecord base{QStringLiteral("base"), QStringLiteral("base"), QStringLiteral("base")};
        const qint64 id = addPhrase(base);
        QSqlQuery other(connect(QStringLiteral("b")));
        if (!theirs.isEmpty())
            QVERIFY2(other.exec(theirs), qPrintable(other.lastError().text()));

        PhraseStore store(QStringLiteral("a"));
        QString error;
        const PhraseStore::Outcome result =
            field == PhraseStore::Str
                ? store.setText(id, mine, QStringLiteral(""), base.str, base.html, &error)
                : store.setField(id, field, mine, field == PhraseStore::Rating ? QVariant(0) : QVariant(base.str),
                                 &error);
        QVERIFY2(result != PhraseStore::Outcome::Failed, qPrintable(error));
        QTEST(result, "outcome");
        QTEST(value(QStringLiteral("SELECT COALESCE((SELECT CAST(%1 AS TEXT) FROM TypeText), '<none>')")
                        .arg(PhraseStore::fieldName(field))),
              "stored");
        // The lower-case copy the search reads follows whatever the file kept, if anything.
        QCOMPARE(value(QStringLiteral("SELECT StrLower FROM TypeText")),
                 value(QStringLiteral("SELECT lower(Str) FROM TypeText")));
    }
};

// Every behaviour once on a file and once on a server.
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    TestPhraseStore file(false);
    TestPhraseStore server(true);
    return QTest::qExec(&file, argc, argv) | QTest::qExec(&server, argc, argv);
}
#include "tst_phrasestore.moc"
