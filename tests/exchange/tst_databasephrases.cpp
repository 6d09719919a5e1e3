#include "../common/testhome.h"
#include "exchange/databasereader.h"
#include "exchange/databasewriter.h"

#include <QDir>
#include <QSqlQuery>
#include <QTest>

#include <unistd.h>

Q_DECLARE_METATYPE(PhraseRecord)
using Phrases = QVector<PhraseRecord>;
static const QString newDb = QStringLiteral(QUILLARY_PROGRAM_DIR "/new.db");
static const QString poison = QStringLiteral("CREATE TRIGGER poison BEFORE INSERT ON TypeText WHEN NEW.Str = 'poison' "
                                             "BEGIN SELECT RAISE(ABORT, 'no poison'); END");
static const Phrases threePhrases{{QStringLiteral("one")}, {QStringLiteral("poison")}, {QStringLiteral("three")}};

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
        QStringLiteral("SELECT ifnull(Str, '<NULL>') || '|' || ifnull(Labels, '<NULL>') || '|' || "
                       "ifnull(KeyWord, '<NULL>') || '|' || ifnull(HotKey, '<NULL>') || '|' || "
                       "ifnull(Html, '<NULL>') || '|' || Rating || '|' || Frequency FROM TypeText ORDER BY id"));
    while (query.next())
        rows << query.value(0).toString();
    return rows;
}

static QByteArray bytesOf(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

static PhraseRowSource from(const Phrases &rows)
{
    return [rows, next = 0](PhraseRecord *row) mutable { return next < rows.size() && (*row = rows[next++], true); };
}

// Runs one SQL statement on the file; "junk" spoils its middle page, or makes a new file 4 KB of junk, its own.
static bool make(const QString &path, const QString &sql)
{
    QFile file(path);
    if (sql == QLatin1String("junk"))
        return file.open(QIODevice::ReadWrite) && file.seek(file.size() / 2 / 4096 * 4096) &&
               file.write(path.toUtf8().repeated(4096).left(4096)) == 4096;
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("make"));
        db.setDatabaseName(path);
        ok = db.open() && QSqlQuery(db).exec(sql);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("make"));
    return ok;
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
    void initTestCase() { QSqlDatabase::addDatabase(QStringLiteral("QSQLITE")); }
    // The open database: the program's template with one phrase every import must leave alone.
    void init()
    {
        QSqlDatabase db = QSqlDatabase::database();
        db.close();
        QFile::remove(target);
        QVERIFY(QFile::copy(newDb, target));
        db.setDatabaseName(target);
        QVERIFY(db.open() && QSqlQuery().exec(QStringLiteral("INSERT INTO TypeText (Str) VALUES ('kept')")));
    }

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
        const QString file = dir.filePath(QStringLiteral("team.db"));
        int written = -1;
        QVERIFY(writePhraseDatabase(file, newDb, from(phrases), &written));
        QCOMPARE(written, phrases.size());
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

    // Nothing stored, the file read left as it was or not made at all, no transaction left open.
    void import_refused_storesNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("said");
        QTest::addColumn<int>("count");
        const auto add = [](const char *row, const char *name, const char *setup, const char *said, int count) {
            QTest::newRow(row) << name << setup << said << count;
        };
        add("no database", "junk.db", "junk", "Cannot read file", -1);
        add("no phrase table", "other.db", "CREATE TABLE Other (id)", "is not a phrase database: it has no table", -1);
        add("columns missing", "old.db", "CREATE TABLE TypeText (id INTEGER PRIMARY KEY, Str, Labels)",
            "lacks the columns KeyWord, HotKey, Html, KeyLower", -1);
        add("damaged part way", "damaged.db", "damage", "malformed", -1);
        add("missing file", "missing.db", "", "No such file", -1);
        add("the open database", "target.db", "", "is the database open", -1);
        add("the open database by a hard link", "link.db", "link", "is the database open", -1);
        add("second phrase refused", "poison.db", "poison", "2 phrase(s) were read, none of them was stored: no poison",
            0);
    }

    void import_refused_storesNothing()
    {
        QFETCH(QString, name);
        QFETCH(QString, setup);
        QFETCH(QString, said);
        const QString file = dir.filePath(name);
        if (setup == QLatin1String("link"))
            QCOMPARE(::link(QFile::encodeName(target).constData(), QFile::encodeName(file).constData()), 0);
        else if (setup == QLatin1String("damage")) // the phrases before the page spoilt read well
            QVERIFY(writePhraseDatabase(file, newDb, from(Phrases(20000, {QString(100, QLatin1Char('x'))}))) &&
                    make(file, QStringLiteral("junk")));
        else if (setup == QLatin1String("poison"))
            QVERIFY(writePhraseDatabase(file, newDb, from(threePhrases)) && QSqlQuery().exec(poison));
        else if (!setup.isEmpty())
            QVERIFY(make(file, setup));
        const QByteArray before = bytesOf(file);
        ImportReport report;
        QTEST(importDatabase(file, &report), "count");
        QVERIFY2(report.error.contains(said), qPrintable(report.error));
        QCOMPARE(stored(), kept);
        QCOMPARE(bytesOf(file), before);
        QVERIFY(QSqlDatabase::database().transaction() && QSqlDatabase::database().rollback());
    }

    // The target gets the new file whole and its former content under the backup name; a failure
    // leaves it as it was, and no file beside it.
    void export_replacesTargetOnlyWhenComplete_data()
    {
        QTest::addColumn<QString>("templateName");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("said");
        const auto add = [this](const char *row, const char *templateName, const char *name, const char *said) {
            QTest::newRow(row) << (*templateName ? dir.filePath(QLatin1String(templateName)) : newDb) << name << said;
        };
        QVERIFY(make(dir.filePath(QStringLiteral("junk.db")), QStringLiteral("junk")));
        QVERIFY(QFile::copy(newDb, dir.filePath(QStringLiteral("poisoned.db"))) &&
                make(dir.filePath(QStringLiteral("poisoned.db")), poison));
        add("written", "", "out/team.db", "");
        add("second phrase refused", "poisoned.db", "out/team.db", "no poison");
        add("template no phrase database", "junk.db", "out/team.db", "is not a phrase database");
        add("template missing", "missing.db", "out/team.db", "cannot be read");
        add("the open database", "", "target.db", "the database open");
    }

    void export_replacesTargetOnlyWhenComplete()
    {
        QFETCH(QString, templateName);
        QFETCH(QString, name);
        QFETCH(QString, said);
        const QString file = dir.filePath(name), backup = file.chopped(2) + QStringLiteral("bak");
        if (name.startsWith(QLatin1String("out/"))) {
            QVERIFY(dir.mkpath(QStringLiteral("out")) && make(file, QStringLiteral("junk")) &&
                    make(backup, QStringLiteral("junk")));
            QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        }
        const QByteArray before = bytesOf(file);
        const QFile::Permissions mode = QFile::permissions(file);
        const QStringList folder = QFileInfo(file).dir().entryList(QDir::Files | QDir::Hidden);
        QString error;
        const bool written = writePhraseDatabase(file, templateName, from(threePhrases), nullptr, &error);
        QCOMPARE(written, said.isEmpty());
        QVERIFY2(error.contains(said) && error.contains(QDir::toNativeSeparators(file)) != written, qPrintable(error));
        QCOMPARE(QFileInfo(file).dir().entryList(QDir::Files | QDir::Hidden), folder);
        QCOMPARE(bytesOf(written ? backup : file), before);
        QVERIFY(!written || (QFile::permissions(file) == mode && importDatabase(file) == threePhrases.size()));
    }
};

QTEST_GUILESS_MAIN(DatabasePhrasesTest)
#include "tst_databasephrases.moc"
