#include "../common/filebytes.h"
#include "db/databasefile.h"

#include <QtSql>
#include <QtTest>

#include <sys/stat.h>

Q_DECLARE_METATYPE(DatabaseCheck)

class TestDatabaseFile : public QObject
{
    Q_OBJECT

    QScopedPointer<QTemporaryDir> dir;

    // Patient as the program's connections are. One of the name that an earlier test left is gone with that test's
    // handles.
    static QSqlDatabase connection(const QString &name, const QString &path, bool readOnly = false)
    {
        QSqlDatabase::removeDatabase(name);
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setConnectOptions(QLatin1String(readOnly ? "QSQLITE_OPEN_READONLY;" : "") +
                             QStringLiteral("QSQLITE_BUSY_TIMEOUT=3000"));
        db.setDatabaseName(path);
        return db;
    }

private slots:
    void init() { dir.reset(new QTemporaryDir); }

    void withDbSuffix_addsDbUnlessThereInAnyCase()
    {
        QCOMPARE(withDbSuffix(QStringLiteral("/x/Phrases.DB")), QStringLiteral("/x/Phrases.DB"));
        QCOMPARE(withDbSuffix(QStringLiteral("/x/mydb")), QStringLiteral("/x/mydb.db"));
    }

    // The content is SQL to make the file with, or what else the path is.
    void openPhraseDatabase_data()
    {
        QTest::addColumn<QString>("content");
        QTest::addColumn<DatabaseCheck>("expected");
        QTest::addColumn<QString>("says"); // a part of the error
        const auto add = [](const char *row, const QString &content, DatabaseCheck expected, const char *says) {
            QTest::newRow(row) << content << expected << QString::fromUtf8(says);
        };
        const auto table = [](const char *id, const char *end = "") {
            return QStringLiteral("CREATE TABLE typetext (%1, str, labels, keyword, hotkey, html, keylower, strlower, "
                                  "labellower, rating, frequency)%2")
                .arg(QLatin1String(id), QLatin1String(end));
        };
        using C = DatabaseCheck;
        add("table in other case", table("id integer primary key"), C::Ok, "");
        add("view", QStringLiteral("CREATE TABLE t (id);CREATE VIEW TypeText AS SELECT * FROM t"), C::NoPhraseTable,
            "TypeText is a view");
        add("columns missing", QStringLiteral("CREATE TABLE TypeText (id INTEGER PRIMARY KEY, Str)"), C::MissingColumns,
            "Labels");
        // Ids taken for integers, assigned by the database and never repeated: only SQLite's row key is all three.
        add("REAL key", table("id REAL PRIMARY KEY"), C::IdNotIntegerKey, "\"id REAL PRIMARY KEY\"");
        add("INTEGER, no key", table("id INTEGER"), C::IdNotIntegerKey, "\"id INTEGER\"");
        add("INTEGER key WITHOUT ROWID", table("id INTEGER PRIMARY KEY", " WITHOUT ROWID"), C::IdNotIntegerKey,
            "\"id INTEGER PRIMARY KEY\"");
        // SQLite would wait on a FIFO for a writer, and take a device for an empty database.
        for (const char *other : {"FIFO", "device"})
            add(other, QLatin1String(other), C::CannotOpen, other);
    }

    void openPhraseDatabase()
    {
        QFETCH(QString, content);
        QFETCH(DatabaseCheck, expected);
        QFETCH(QString, says);
        QString path = dir->filePath(QStringLiteral("a.db"));
        QSqlDatabase db = connection(QStringLiteral("probe"), path);
        if (content == QLatin1String("device"))
            path = QStringLiteral("/dev/null");
        else if (content == QLatin1String("FIFO"))
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else
            for (const QString &statement : content.split(QLatin1Char(';')))
                QVERIFY2(QSqlQuery(db.open() ? db : QSqlDatabase()).exec(statement), qPrintable(statement));
        db.close();
        QString error;
        QCOMPARE(::openPhraseDatabase(db, path, &error), expected);
        // Left open when usable and, as ever, when the table is missing; closed otherwise.
        QCOMPARE(db.isOpen(), expected == DatabaseCheck::Ok || expected == DatabaseCheck::NoPhraseTable);
        QCOMPARE(error.isEmpty(), says.isEmpty());
        QVERIFY2(error.contains(says), qPrintable(error));
    }

    // Only a connection opened read-only keeps the program from writing; another copy's lock does not.
    void isWritableDatabase_data()
    {
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<bool>("locked"); // another copy holds the write lock
        QTest::newRow("writable") << false << false;
        QTest::newRow("another copy writing") << false << true;
        QTest::newRow("opened read-only") << true << false;
    }

    void isWritableDatabase()
    {
        QFETCH(bool, readOnly);
        QFETCH(bool, locked);
        const QString path = dir->filePath(QStringLiteral("a.db"));
        QSqlDatabase other = connection(QStringLiteral("other"), path);
        QVERIFY(other.open());
        if (locked)
            QVERIFY(QSqlQuery(other).exec(QStringLiteral("BEGIN IMMEDIATE")));
        QSqlDatabase db = connection(QStringLiteral("probe"), path, readOnly);
        QVERIFY(db.open());
        QCOMPARE(::isWritableDatabase(db), !readOnly);
        // The connection keeps its patience for the writes that follow.
        QSqlQuery timeout(QStringLiteral("PRAGMA busy_timeout"), db);
        QVERIFY(timeout.next());
        QCOMPARE(timeout.value(0).toInt(), 3000);
    }

    // The starter phrases, generated at build time, copied over a former file; the empty template serves every
    // command line test.
    void template_copiedOverFormerFileHoldsThePhraseTable()
    {
        const QString copy = dir->filePath(QStringLiteral("org.db"));
        QVERIFY(writeFile(copy, "former"));
        QVERIFY(writeFile(dir->filePath(QStringLiteral("org.bak")), "older backup"));
        QVERIFY(copyReplacing(QStringLiteral(QUILLARY_PROGRAM_DIR "/org.db"), copy));
        QCOMPARE(readFile(dir->filePath(QStringLiteral("org.bak"))), QByteArray("former"));
        // A copy that fails once the target has gone aside puts the target back.
        QVERIFY(!copyReplacing(dir->filePath(QStringLiteral("missing.db")), copy));
        QSqlDatabase db = connection(QStringLiteral("probe"), copy);
        QString error;
        QCOMPARE(::openPhraseDatabase(db, copy, &error), DatabaseCheck::Ok);
        QSqlQuery query(QStringLiteral("SELECT Str, StrLower, Labels, LabelLower, KeyWord, KeyLower FROM TypeText"),
                        db);
        int rows = 0;
        for (; query.next(); ++rows) {
            for (int column = 0; column < 6; column += 2)
                QCOMPARE(query.value(column + 1).toString(), query.value(column).toString().toLower());
        }
        QVERIFY(rows >= 10);
        // New rows get ids of their own and zero counts, which the usage counter adds to.
        QVERIFY(query.exec(QStringLiteral("INSERT INTO TypeText (Str) VALUES ('x'), ('y')")));
        QVERIFY(query.exec(QStringLiteral("SELECT count(DISTINCT id) FROM TypeText WHERE Rating = 0 AND Frequency = 0 "
                                          "AND Str IN ('x', 'y')")));
        QVERIFY(query.next());
        QCOMPARE(query.value(0).toInt(), 2);
    }
};

QTEST_GUILESS_MAIN(TestDatabaseFile)
#include "tst_databasefile.moc"
