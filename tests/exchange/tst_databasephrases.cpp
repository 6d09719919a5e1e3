#include "../common/filebytes.h"
#include "../common/testhome.h"
#include "exchange/databasereader.h"
#include "exchange/databasewriter.h"

#include <QtSql>
#include <QtTest>

#include <unistd.h>

Q_DECLARE_METATYPE(PhraseRecord)
using Phrases = QVector<PhraseRecord>;
static const QString newDb = QStringLiteral(QUILLARY_PROGRAM_DIR "/new.db");

// A phrase as "Str|Labels|KeyWord|HotKey|Html|Rating|Frequency", a NULL text as <NULL>.
static QString line(const PhraseRecord &p)
{
    QStringList fields{p.str, p.labels, p.keyWord, p.hotKey, p.html};
    for (QString &field : fields)
        field = field.isNull() ? QStringLiteral("<NULL>") : field;
    return (fields << QString::number(p.rating) << QString::number(p.frequency)).join(QLatin1Char('|'));
}

static QStringList stored()
{
    QStringList rows;
    QSqlQuery query(
        QStringLiteral("SELECT Str, Labels, KeyWord, HotKey, Html, Rating, Frequency FROM TypeText ORDER BY id"));
    const auto text = [&query](int field) { return query.value(field).toString(); };
    while (query.next())
        rows << line({text(0), text(1), text(2), text(3), text(4), query.value(5).toInt(), query.value(6).toInt()});
    return rows;
}

static PhraseRowSource from(const Phrases &rows)
{
    return [rows, next = 0](PhraseRecord *row) mutable { return next < rows.size() && (*row = rows[next++], true); };
}

// Writes 4 KB of junk over the middle page of the file, or makes it 4 KB of junk, its own.
static bool spoil(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && file.seek(file.size() / 2 / 4096 * 4096) &&
           file.write(path.toUtf8().repeated(4096).left(4096)) == 4096;
}

// Runs one SQL statement on the file, made if need be, as the schema "made" of the open database.
static bool make(const QString &path, const QString &sql)
{
    QSqlQuery query;
    return query.exec(QStringLiteral("ATTACH '%1' AS made").arg(path)) && query.exec(sql) &&
           query.exec(QStringLiteral("DETACH made"));
}

// Phrase database files as an exchange format: written from any phrases, read into the open database.
class DatabasePhrasesTest : public QObject
{
    Q_OBJECT

    TestHome home;
    const QDir dir{home.path()};
    const QString target = dir.filePath(QStringLiteral("target.db"));
    const QStringList kept{QStringLiteral("kept|||||0|0")};

private slots:
    // The open database: the program's template with one phrase every import must leave alone.
    void initTestCase()
    {
        QVERIFY(QFile::copy(newDb, target));
        QSqlDatabase::addDatabase(QStringLiteral("QSQLITE")).setDatabaseName(target);
        QVERIFY(QSqlDatabase::database().isOpen());
    }
    void init()
    {
        QVERIFY(QSqlQuery().exec(QStringLiteral("DELETE FROM TypeText")));
        QVERIFY(QSqlQuery().exec(QStringLiteral("INSERT INTO TypeText (Str) VALUES ('kept')")));
    }

    // A file that was there is replaced whole, under the backup name, and keeps its permissions.
    void roundTrip_keepsEveryField_data()
    {
        QTest::addColumn<Phrases>("phrases");
        const QString e = QLatin1String(""), null; // {} would be a null text
        QTest::newRow("NULL and empty texts") << Phrases{{null, e, null, e, null, 0, 0}, {e, null, e, null, e, -5, 7}};
        QTest::newRow("rich text, Cyrillic, hot key, NUL")
            << Phrases{{QStringLiteral("Привет\nмир"), QStringLiteral("Метки"), QStringLiteral("Ключ"),
                        QStringLiteral("Ctrl+Alt+П"), QStringLiteral("<p><b>Привет</b> мир 😀</p>"), 100, 3},
                       {QStringLiteral("a") + QChar(0) + QStringLiteral("b"), e, e, e, e, 1, 2}};
        Phrases many(100000);
        for (int i = 0; i < many.size(); ++i)
            many[i] = {QString::number(i), e, e, e, e, i % 101, i};
        QTest::newRow("100000 phrases, in order") << many;
    }

    void roundTrip_keepsEveryField()
    {
        QFETCH(Phrases, phrases);
        const QString file = dir.filePath(QStringLiteral("team.db")), backup = dir.filePath(QStringLiteral("team.bak"));
        QVERIFY(spoil(file));
        QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        const QByteArray before = readFile(file);
        int written = -1;
        QVERIFY(writePhraseDatabase(file, newDb, from(phrases), &written));
        QCOMPARE(written, phrases.size());
        QCOMPARE(readFile(backup), before);
        QCOMPARE(QFile::permissions(file), QFile::permissions(backup));
        ImportReport report;
        QPair<qint64, qint64> progress;
        QCOMPARE(importDatabase(file, &report, [&](qint64 d, qint64 t) { progress = {d, t}; }), phrases.size());
        QCOMPARE(report.error, QString());
        QCOMPARE(progress, qMakePair(qint64(phrases.size()), qint64(phrases.size())));
        QStringList expected = kept;
        for (const PhraseRecord &phrase : phrases)
            expected << line(phrase);
        QCOMPARE(stored(), expected);
    }

    // A refused import or export changes nothing: no phrase stored, no transaction left open, the file as it was
    // or not made at all, and no file beside it. The reason names the file.
    void refused_changesNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("templateName"); // empty for an import, else an export made from it
        QTest::addColumn<QString>("said");
        const auto file = [this](const char *name) { return dir.filePath(QLatin1String(name)); };
        QVERIFY(spoil(file("junk.db")));
        QVERIFY(make(file("other.db"), QStringLiteral("CREATE TABLE made.Other (id)")));
        QVERIFY(
            make(file("old.db"), QStringLiteral("CREATE TABLE made.TypeText (id INTEGER PRIMARY KEY, Str, Labels)")));
        // The phrases before the page spoilt read well.
        QVERIFY(writePhraseDatabase(file("damaged.db"), newDb, from(Phrases(20000, {QString(100, QLatin1Char('x'))}))));
        QVERIFY(spoil(file("damaged.db")));
        QCOMPARE(::link(QFile::encodeName(target).constData(), QFile::encodeName(file("link.db")).constData()), 0);
        QVERIFY(spoil(file("team.db")));
        QVERIFY(QFile::copy(newDb, file("poisoned.db")));
        QVERIFY(make(file("poisoned.db"),
                     QStringLiteral("CREATE TRIGGER made.poison BEFORE INSERT ON TypeText WHEN NEW.Str = 'poison' "
                                    "BEGIN SELECT RAISE(ABORT, 'no poison'); END")));

        QTest::newRow("no database") << "junk.db" << QString() << "Cannot read file";
        QTest::newRow("no phrase table") << "other.db" << QString() << "is not a phrase database: it has no table";
        QTest::newRow("old table") << "old.db" << QString() << "lacks the columns KeyWord, HotKey, Html, KeyLower";
        QTest::newRow("damaged part way") << "damaged.db" << QString() << "malformed";
        QTest::newRow("missing file") << "missing.db" << QString() << "No such file";
        QTest::newRow("the open database") << "target.db" << QString() << "is the database open";
        QTest::newRow("the open database by a hard link") << "link.db" << QString() << "is the database open";
        QTest::newRow("second phrase refused") << "team.db" << file("poisoned.db") << "no poison";
        QTest::newRow("template no phrase database") << "team.db" << file("junk.db") << "is not a phrase database";
        QTest::newRow("template missing") << "team.db" << file("missing.db") << "cannot be read";
        QTest::newRow("over the open database") << "target.db" << newDb << "the database open";
    }

    void refused_changesNothing()
    {
        QFETCH(QString, name);
        QFETCH(QString, templateName);
        QFETCH(QString, said);
        const QString file = dir.filePath(name);
        const QByteArray before = readFile(file);
        const QStringList folder = QFileInfo(file).dir().entryList(QDir::Files | QDir::Hidden);
        ImportReport report; // an export's reason goes in it too
        const Phrases phrases{{QStringLiteral("one")}, {QStringLiteral("poison")}};
        if (templateName.isEmpty())
            QCOMPARE(importDatabase(file, &report), -1);
        else
            QVERIFY(!writePhraseDatabase(file, templateName, from(phrases), nullptr, &report.error));
        QVERIFY2(report.error.contains(said), qPrintable(report.error));
        QVERIFY2(report.error.contains(QDir::toNativeSeparators(file)), qPrintable(report.error));
        QCOMPARE(stored(), kept);
        QCOMPARE(readFile(file), before);
        QCOMPARE(QFileInfo(file).dir().entryList(QDir::Files | QDir::Hidden), folder);
        QVERIFY(QSqlDatabase::database().transaction());
        QVERIFY(QSqlDatabase::database().rollback());
    }
};

QTEST_GUILESS_MAIN(DatabasePhrasesTest)
#include "tst_databasephrases.moc"
