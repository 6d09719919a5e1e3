#include "db/databasefile.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

class TestDatabaseFile : public QObject
{
    Q_OBJECT

    QScopedPointer<QTemporaryDir> dir;

    QString writeFile(const QString &name, const QByteArray &content)
    {
        QFile file(dir->filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() ? file.fileName() : QString();
    }

    static QSqlDatabase connection(const QString &name, const QString &path, const QString &options = QString())
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setConnectOptions(options);
        db.setDatabaseName(path);
        return db;
    }

private slots:
    void init() { dir.reset(new QTemporaryDir); }
    void cleanup()
    {
        QSqlDatabase::removeDatabase(QStringLiteral("probe"));
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
    }

    void withDbSuffix_addsDbUnlessThereInAnyCase()
    {
        QCOMPARE(withDbSuffix(QStringLiteral("/x/phrases")), QStringLiteral("/x/phrases.db"));
        QCOMPARE(withDbSuffix(QStringLiteral("/x/Phrases.DB")), QStringLiteral("/x/Phrases.DB"));
        QCOMPARE(withDbSuffix(QStringLiteral("/x/mydb")), QStringLiteral("/x/mydb.db"));
    }

    // The content is SQL to make the file with, text to write into it, or what else the path is.
    void openPhraseDatabase_data()
    {
        QTest::addColumn<QString>("content");
        QTest::addColumn<int>("expected");
        QTest::addColumn<QString>("says"); // a part of the error; "*" for any driver text
        const auto add = [](const char *row, const QString &content, DatabaseCheck expected, const char *says) {
            QTest::newRow(row) << content << int(expected) << QString::fromUtf8(says);
        };
        const auto table = [](const char *id, const char *end = "") {
            return QStringLiteral("CREATE TABLE typetext (%1, str, labels, keyword, hotkey, html, keylower, strlower, "
                                  "labellower, rating, frequency)%2")
                .arg(QLatin1String(id), QLatin1String(end));
        };
        using C = DatabaseCheck;
        add("table in other case", table("id integer primary key"), C::Ok, "");
        add("no phrase table", QStringLiteral("CREATE TABLE Other (id)"), C::NoPhraseTable, "");
        add("view",
            table("id INTEGER PRIMARY KEY").replace(QLatin1String("typetext"), QLatin1String("t")) +
                QStringLiteral(";CREATE VIEW TypeText AS SELECT * FROM t"),
            C::NoPhraseTable, "TypeText is a view");
        // Ids taken for integers, assigned by the database and never repeated: only SQLite's row key is all three.
        add("REAL key", table("id REAL PRIMARY KEY"), C::IdNotIntegerKey, "\"id REAL PRIMARY KEY\"");
        add("INTEGER, no key", table("id INTEGER"), C::IdNotIntegerKey, "\"id INTEGER\"");
        add("INTEGER key WITHOUT ROWID", table("id INTEGER PRIMARY KEY", " WITHOUT ROWID"), C::IdNotIntegerKey,
            "\"id INTEGER PRIMARY KEY\"");
        add("text file", QStringLiteral("Not a database, just text.\n"), C::CannotOpen, "*");
        for (const char *other : {"folder", "FIFO", "device"})
            add(other, QLatin1String(other), C::CannotOpen, other);
    }

    void openPhraseDatabase()
    {
        QFETCH(QString, content);
        QFETCH(int, expected);
        QFETCH(QString, says);
        QString path = dir->filePath(QStringLiteral("a.db"));
        QSqlDatabase db = connection(QStringLiteral("probe"), path);
        if (content == QLatin1String("folder"))
            path = dir->path();
        else if (content == QLatin1String("device"))
            path = QStringLiteral("/dev/null");
        else if (content == QLatin1String("FIFO"))
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (!content.startsWith(QLatin1String("CREATE")))
            QVERIFY(!writeFile(QStringLiteral("a.db"), content.toUtf8().repeated(40)).isEmpty());
        else
            for (const QString &statement : content.split(QLatin1Char(';')))
                QVERIFY2(QSqlQuery(db.open() ? db : QSqlDatabase()).exec(statement), qPrintable(statement));
        db.close();
        QString error;
        QCOMPARE(int(::openPhraseDatabase(db, path, &error)), expected);
        // Left open when usable and, as ever, when the table is missing; closed otherwise.
        QCOMPARE(db.isOpen(), expected == int(DatabaseCheck::Ok) || expected == int(DatabaseCheck::NoPhraseTable));
        QCOMPARE(error.isEmpty(), says.isEmpty());
        if (says != QLatin1String("*"))
            QVERIFY2(error.contains(says), qPrintable(error));
    }

    void isWritableDatabase_data()
    {
        QTest::addColumn<QString>("options");
        QTest::addColumn<bool>("locked"); // another copy holds the write lock
        QTest::addColumn<bool>("writable");
        QTest::newRow("writable") << QString() << false << true;
        QTest::newRow("another copy writing") << QString() << true << true;
        QTest::newRow("opened read-only") << QStringLiteral("QSQLITE_OPEN_READONLY;") << false << false;
    }

    void isWritableDatabase()
    {
        QFETCH(QString, options);
        QFETCH(bool, locked);
        const QString path = writeFile(QStringLiteral("a.db"), QByteArray());
        QSqlDatabase other = connection(QStringLiteral("other"), path);
        QVERIFY(other.open());
        QVERIFY(QSqlQuery(other).exec(QStringLiteral("CREATE TABLE t (x)")));
        if (locked)
            QVERIFY(QSqlQuery(other).exec(QStringLiteral("BEGIN IMMEDIATE")));
        QSqlDatabase db =
            connection(QStringLiteral("probe"), path, options + QStringLiteral("QSQLITE_BUSY_TIMEOUT=3000"));
        QVERIFY(db.open());
        QTEST(::isWritableDatabase(db), "writable");
        // The connection keeps its patience for the writes that follow.
        QSqlQuery timeout(db);
        QVERIFY(timeout.exec(QStringLiteral("PRAGMA busy_timeout")));
        QVERIFY(timeout.next());
        QCOMPARE(timeout.value(0).toInt(), 3000);
    }

    // The row name is the template, generated at build time; the number is how many phrases it has at least.
    void template_copiedOverFormerFileHoldsThePhraseTable_data()
    {
        QTest::addColumn<int>("phrases");
        QTest::newRow("org.db") << 10;
        QTest::newRow("new.db") << 0;
    }

    void template_copiedOverFormerFileHoldsThePhraseTable()
    {
        QFETCH(int, phrases);
        const QString name = QString::fromLatin1(QTest::currentDataTag());
        const QString copy = writeFile(name, "former");
        QFile backup(writeFile(QString(name).replace(QLatin1String(".db"), QLatin1String(".bak")), "older backup"));
        QVERIFY(copyReplacing(QStringLiteral(QUILLARY_PROGRAM_DIR "/") + name, copy));
        QVERIFY(backup.open(QIODevice::ReadOnly));
        QCOMPARE(backup.readAll(), QByteArray("former"));
        // A copy that fails once the target has gone aside puts the target back.
        QVERIFY(!copyReplacing(dir->filePath(QStringLiteral("missing.db")), copy));
        QSqlDatabase db = connection(QStringLiteral("probe"), copy);
        QString error;
        QCOMPARE(int(::openPhraseDatabase(db, copy, &error)), int(DatabaseCheck::Ok));
        QSqlQuery query(QStringLiteral("SELECT Str, StrLower, Labels, LabelLower, KeyWord, KeyLower FROM TypeText"),
                        db);
        int rows = 0;
        for (; query.next(); ++rows) {
            for (int column = 0; column < 6; column += 2)
                QCOMPARE(query.value(column + 1).toString(), query.value(column).toString().toLower());
        }
        QVERIFY(phrases ? rows >= phrases : rows == 0);
        // New rows get ids of their own and zero counts, which the usage counter adds to.
        QVERIFY(query.exec(QStringLiteral("INSERT INTO TypeText (Str) VALUES ('x'), ('y')")));
        QVERIFY(query.exec(QStringLiteral("SELECT count(DISTINCT id) FROM TypeText WHERE Rating = 0 AND Frequency = 0 "
                                          "AND Str IN ('x', 'y')")) &&
                query.next());
        QCOMPARE(query.value(0).toInt(), 2);
    }
};

QTEST_GUILESS_MAIN(TestDatabaseFile)
#include "tst_databasefile.moc"
