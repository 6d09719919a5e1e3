#include "../common/phrasedatabase.h"
#include "db/typewatch.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

class TestTypeWatch : public QObject
{
    Q_OBJECT

private slots:
    void init() { touch(); }
    void steps_data();
    void steps();
    void fileAtPath_data();
    void fileAtPath();
    void repeatedStart_keepsTheBeat();
    void commits_data();
    void commits();

private:
    void touch() // file times are coarse, so every change moves the time on explicitly
    {
        QFile file(path);
        QVERIFY(
            file.open(QIODevice::ReadWrite) &&
            file.setFileTime(QDateTime::fromSecsSinceEpoch(1700000000 + 10 * ++touches), QFile::FileModificationTime));
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("phrases.db"));
    int touches = 0;
};

// Steps -> what they show: a check the number of reports so far, "timer" whether the timer runs.
void TestTypeWatch::steps_data()
{
    QTest::addColumn<QString>("row");
    QTest::newRow("first check is silent") << "touch start check -> 0";
    QTest::newRow("one change, one report") << "check touch check check -> 0 1 1";
    QTest::newRow("two changes, one report") << "check touch touch check -> 0 1";
    QTest::newRow("pause hides the next check") << "check pause touch check touch check -> 0 0 1";
    QTest::newRow("pause without change uses up a check") << "check pause check touch check -> 0 0 1";
    QTest::newRow("stop cancels a pause") << "check pause stop touch start check -> 0 1";
    QTest::newRow("skipping start drops changes") << "check stop-hard touch start-skip timer check -> 0 on 0";
    QTest::newRow("hard stop refuses a soft start") << "stop-hard start timer stop start timer -> off on";
    QTest::newRow("exact remove") << "check add REMOVE remove remove remove touch check -> 0 no yes yes no 0";
    QTest::newRow("timer reports a change") << "stop start touch wait check -> 1";
}

void TestTypeWatch::steps()
{
    QFETCH(QString, row);
    QStringList observed;
    TypeWatch watch;
    watch.addFile(path);
    int reports = 0;
    connect(&watch, &TypeWatch::fileChanged, this, [&](const QString &name) { reports += name == path; });
    const auto remove = [&](const QString &name) { observed << QLatin1String(watch.removeFile(name) ? "yes" : "no"); };
    const QHash<QString, std::function<void()>> actions{
        {QStringLiteral("touch"), [&] { touch(); }},
        {QStringLiteral("delete"), [&] { QFile::remove(path); }},
        {QStringLiteral("pause"), [&] { watch.pause(); }},
        {QStringLiteral("stop"), [&] { watch.stop(false); }},
        {QStringLiteral("stop-hard"), [&] { watch.stop(true); }},
        {QStringLiteral("start"), [&] { watch.start(false); }},
        {QStringLiteral("start-skip"), [&] { watch.start(true); }},
        {QStringLiteral("check"),
         [&] {
             watch.period();
             observed << QString::number(reports);
         }},
        {QStringLiteral("wait"), [&] { QTRY_VERIFY_WITH_TIMEOUT(reports > 0, 2000); }},
        {QStringLiteral("timer"), [&] { observed << QLatin1String(watch.isRunning() ? "on" : "off"); }},
        {QStringLiteral("add"), [&] { watch.addFile(path); }},
        {QStringLiteral("remove"), [&] { remove(path); }},
        {QStringLiteral("REMOVE"), [&] { remove(path.toUpper()); }}};
    for (const QString &step : row.section(QLatin1String(" -> "), 0, 0).split(QLatin1Char(' ')))
        actions.value(step, [&step] { QFAIL(qPrintable(step)); })();
    QCOMPARE(observed.join(QLatin1Char(' ')), row.section(QLatin1String(" -> "), 1));
}

enum class PathChange
{
    Remove,
    RenameAway,
    MoveOver,
    RemoveThenCreate,
    Touch,
};
Q_DECLARE_METATYPE(PathChange)

// What lies at the watched path: another file, or none, is reported as such and never
// as a mere change; the return of a file after a removal is a replacement.
void TestTypeWatch::fileAtPath_data()
{
    QTest::addColumn<PathChange>("change");
    QTest::addColumn<int>("removed");
    QTest::addColumn<int>("replaced");
    QTest::addColumn<int>("changed");
    QTest::newRow("removed") << PathChange::Remove << 1 << 0 << 0;
    QTest::newRow("renamed away") << PathChange::RenameAway << 1 << 0 << 0;
    QTest::newRow("another moved over it") << PathChange::MoveOver << 0 << 1 << 0;
    QTest::newRow("removed, then made anew") << PathChange::RemoveThenCreate << 1 << 1 << 0;
    QTest::newRow("only touched") << PathChange::Touch << 0 << 0 << 1;
}

void TestTypeWatch::fileAtPath()
{
    QFETCH(PathChange, change);
    TypeWatch watch;
    watch.addFile(path);
    int removed = 0, replaced = 0, changed = 0;
    connect(&watch, &TypeWatch::fileRemoved, this, [&](const QString &name) { removed += name == path; });
    connect(&watch, &TypeWatch::fileReplaced, this, [&](const QString &name) { replaced += name == path; });
    connect(&watch, &TypeWatch::fileChanged, this, [&](const QString &name) { changed += name == path; });
    watch.period();
    const QString other = dir.filePath(QStringLiteral("other.db"));
    switch (change) {
    case PathChange::Remove:
        QVERIFY(QFile::remove(path));
        break;
    case PathChange::RenameAway:
        QVERIFY(QFile::rename(path, other));
        break;
    case PathChange::MoveOver: {
        QFile file(other);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(QFile::remove(path));
        QVERIFY(QFile::rename(other, path));
        break;
    }
    case PathChange::RemoveThenCreate:
        QVERIFY(QFile::remove(path));
        watch.period();
        touch();
        break;
    case PathChange::Touch:
        touch();
        break;
    }
    watch.period();
    watch.period();
    QFile::remove(other);
    QTEST(removed, "removed");
    QTEST(replaced, "replaced");
    QTEST(changed, "changed");
}

// Starts that come faster than the interval, as clipboard and focus changes do, do not
// put the check off.
void TestTypeWatch::repeatedStart_keepsTheBeat()
{
    TypeWatch watch;
    watch.addFile(path);
    int reports = 0;
    connect(&watch, &TypeWatch::fileChanged, this, [&reports] { ++reports; });
    watch.period();
    touch();
    for (int start = 0; start < 15 && reports == 0; ++start) {
        watch.start(false);
        QTest::qWait(TypeWatch::interval / 5);
    }
    QCOMPARE(reports, 1);
}

// With the connection that has the file open, only another connection's commit is a change.
void TestTypeWatch::commits_data()
{
    QTest::addColumn<QString>("writer"); // the connection that commits, if any
    QTest::addColumn<int>("stampShift"); // seconds the time stamp is then set off the one before; -1: left
    QTest::addColumn<bool>("paused");
    QTest::addColumn<int>("reports");
    QTest::newRow("own write") << "own" << -1 << false << 0;
    QTest::newRow("another copy's commit") << "other" << -1 << false << 1;
    QTest::newRow("commit that kept the time stamp") << "other" << 0 << false << 1;
    QTest::newRow("time stamp touched, no commit") << "" << 60 << false << 0;
    QTest::newRow("another copy's commit after a pause") << "other" << -1 << true << 1;
}

void TestTypeWatch::commits()
{
    QFETCH(QString, writer);
    QFETCH(int, stampShift);
    QFETCH(bool, paused);
    const QString file = dir.filePath(QStringLiteral("watched.db"));
    QFile::remove(file);
    QVERIFY(PhraseDatabase::create(file));
    for (const QString &name : {QStringLiteral("own"), QStringLiteral("other")}) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        QVERIFY(db.open());
    }
    {
        TypeWatch watch;
        watch.setConnection(QStringLiteral("own"));
        watch.addFile(file);
        int reports = 0;
        connect(&watch, &TypeWatch::fileChanged, this, [&reports] { ++reports; });
        watch.period();
        if (paused)
            watch.pause();
        const QDateTime before = QFileInfo(file).lastModified();
        QVERIFY(
            writer.isEmpty() ||
            QSqlQuery(QSqlDatabase::database(writer)).exec(QStringLiteral("INSERT INTO TypeText (Str) VALUES ('x')")));
        QFile stamp(file);
        QVERIFY(stampShift < 0 || (stamp.open(QIODevice::ReadWrite) &&
                                   stamp.setFileTime(before.addSecs(stampShift), QFile::FileModificationTime)));
        watch.period();
        watch.period();
        QTEST(reports, "reports");
    }
    for (const QString &name : {QStringLiteral("own"), QStringLiteral("other")}) {
        QSqlDatabase::database(name, false).close();
        QSqlDatabase::removeDatabase(name);
    }
}

QTEST_GUILESS_MAIN(TestTypeWatch)
#include "tst_typewatch.moc"
