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
    void start_afterStop_data();
    void start_afterStop();
    void removeFile_takesTheExactNameOnce();
    void fileAtPath_data();
    void fileAtPath();
    void repeatedStart_keepsTheBeat();
    void commits_data();
    void commits();

private:
    void touch() // file times are coarse, so every change moves the time on explicitly
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(
            file.setFileTime(QDateTime::fromSecsSinceEpoch(1700000000 + 10 * ++touches), QFile::FileModificationTime));
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("phrases.db"));
    int touches = 0;
};

enum class Step
{
    Touch,
    Pause,
    Stop,
    StopHard,
    Start,
    StartSkip,
    Check, // one poll; the reports so far are then compared with the next expected figure
};
using Steps = QVector<Step>;
Q_DECLARE_METATYPE(Steps)

void TestTypeWatch::steps_data()
{
    using S = Step;
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<QVector<int>>("reportsAtChecks");
    QTest::newRow("first check is silent") << Steps{S::Touch, S::Start, S::Check} << QVector<int>{0};
    QTest::newRow("one change, one report") << Steps{S::Check, S::Touch, S::Check, S::Check} << QVector<int>{0, 1, 1};
    QTest::newRow("two changes, one report") << Steps{S::Check, S::Touch, S::Touch, S::Check} << QVector<int>{0, 1};
    QTest::newRow("pause hides the next check")
        << Steps{S::Check, S::Pause, S::Touch, S::Check, S::Touch, S::Check} << QVector<int>{0, 0, 1};
    QTest::newRow("pause without change uses up a check")
        << Steps{S::Check, S::Pause, S::Check, S::Touch, S::Check} << QVector<int>{0, 0, 1};
    QTest::newRow("stop cancels a pause")
        << Steps{S::Check, S::Pause, S::Stop, S::Touch, S::Start, S::Check} << QVector<int>{0, 1};
    QTest::newRow("skipping start drops changes")
        << Steps{S::Check, S::StopHard, S::Touch, S::StartSkip, S::Check} << QVector<int>{0, 0};
}

void TestTypeWatch::steps()
{
    QFETCH(Steps, steps);
    QFETCH(QVector<int>, reportsAtChecks);
    TypeWatch watch;
    watch.addFile(path);
    int reports = 0;
    connect(&watch, &TypeWatch::fileChanged, this, [&](const QString &name) { reports += name == path; });
    QVector<int> seen;
    for (const Step step : steps) {
        switch (step) {
        case Step::Touch:
            touch();
            break;
        case Step::Pause:
            watch.pause();
            break;
        case Step::Stop:
        case Step::StopHard:
            watch.stop(step == Step::StopHard);
            break;
        case Step::Start:
        case Step::StartSkip:
            watch.start(step == Step::StartSkip);
            break;
        case Step::Check:
            watch.period();
            seen << reports;
            break;
        }
    }
    QCOMPARE(seen, reportsAtChecks);
}

// A hard stop holds against the starts that focus and clipboard changes make; only the
// start that skips what happened meanwhile ends it.
void TestTypeWatch::start_afterStop_data()
{
    QTest::addColumn<bool>("hardStop");
    QTest::addColumn<bool>("skip");
    QTest::addColumn<bool>("running");
    QTest::newRow("soft stop, soft start") << false << false << true;
    QTest::newRow("hard stop, soft start") << true << false << false;
    QTest::newRow("hard stop, skipping start") << true << true << true;
}

void TestTypeWatch::start_afterStop()
{
    QFETCH(bool, hardStop);
    QFETCH(bool, skip);
    TypeWatch watch;
    watch.addFile(path);
    watch.stop(hardStop);
    QVERIFY(!watch.isRunning());
    watch.start(skip);
    QTEST(watch.isRunning(), "running");
}

void TestTypeWatch::removeFile_takesTheExactNameOnce()
{
    TypeWatch watch;
    int reports = 0;
    connect(&watch, &TypeWatch::fileChanged, this, [&reports] { ++reports; });
    watch.addFile(path);
    watch.addFile(path);
    watch.period();
    QVERIFY(!watch.removeFile(path.toUpper()));
    QVERIFY(watch.removeFile(path));
    QVERIFY(watch.removeFile(path));
    QVERIFY(!watch.removeFile(path));
    touch();
    watch.period();
    QCOMPARE(reports, 0);
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
        if (!writer.isEmpty())
            QVERIFY(QSqlQuery(QSqlDatabase::database(writer))
                        .exec(QStringLiteral("INSERT INTO TypeText (Str) VALUES ('x')")));
        QFile stamp(file);
        if (stampShift >= 0) {
            QVERIFY(stamp.open(QIODevice::ReadWrite));
            QVERIFY(stamp.setFileTime(before.addSecs(stampShift), QFile::FileModificationTime));
        }
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
