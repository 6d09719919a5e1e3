#include "../common/phrasedatabase.h"
#include "db/typewatch.h"

#include <QtSql>
#include <QtTest>

enum class Step
{
    Touch,
    Pause,
    Stop,
    StopHard,
    Start,
    StartSkip,
    RenameAway,
    MoveOver, // another file takes the path
    OwnCommit,
    OtherCommit,
    StopInReport, // a report's receiver stops the watcher, as the window does for a file removed under it
    Check,        // one poll, which adds what it reported, or None
    Tick,         // the same, but only while the watcher's timer runs
};
using Steps = QVector<Step>;
Q_DECLARE_METATYPE(Steps)

enum class Report
{
    None,
    Changed,
    Removed,
    Replaced,
};
using Reports = QVector<Report>;
Q_DECLARE_METATYPE(Reports)

class TestTypeWatch : public QObject
{
    Q_OBJECT

    // File times are coarse, so every change sets the time explicitly; 0 sets it back.
    void touch(int advance = 1)
    {
        touches += 10 * advance;
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::fromSecsSinceEpoch(1700000000 + touches), QFile::FileModificationTime));
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("phrases.db"));
    const QStringList connections{QStringLiteral("own"), QStringLiteral("other")};
    int touches = 0;

private slots:
    void init()
    {
        QFile::remove(path);
        QVERIFY(PhraseDatabase::create(path));
        touch();
        for (const QString &name : connections) {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(path);
            QVERIFY(db.open());
        }
    }

    void cleanup()
    {
        for (const QString &name : connections)
            QSqlDatabase::removeDatabase(name);
    }

    void steps_data();
    void steps();

    void removeFile_takesTheExactNameOnce()
    {
        TypeWatch watch;
        watch.addFile(path);
        watch.addFile(path);
        const QVector<bool> removed{watch.removeFile(path.toUpper()), watch.removeFile(path), watch.removeFile(path),
                                    watch.removeFile(path)};
        QCOMPARE(removed, QVector<bool>({false, true, true, false}));
    }

    // Starts that come faster than the interval, as clipboard and focus changes do, do not
    // put the check off.
    void repeatedStart_keepsTheBeat()
    {
        TypeWatch watch;
        watch.addFile(path);
        QSignalSpy reports(&watch, &TypeWatch::fileChanged);
        watch.period();
        touch();
        for (int start = 0; start < 15 && reports.isEmpty(); ++start) {
            watch.start(false);
            QTest::qWait(TypeWatch::interval / 5);
        }
        QCOMPARE(reports.count(), 1);
    }
};

void TestTypeWatch::steps_data()
{
    using S = Step;
    using R = Report;
    QTest::addColumn<bool>("connected"); // the watcher knows the connection that has the file open
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<Reports>("reports");
    QTest::newRow("first check silent, then a change reported once")
        << false << Steps{S::Touch, S::Start, S::Check, S::Touch, S::Touch, S::Check, S::Check}
        << Reports{R::None, R::Changed, R::None};
    QTest::newRow("a pause hides the next check only, changed or not")
        << false
        << Steps{S::Check, S::Pause, S::Touch, S::Check, S::Touch, S::Check, S::Pause, S::Check, S::Touch, S::Check}
        << Reports{R::None, R::None, R::Changed, R::None, R::Changed};
    QTest::newRow("a soft stop cancels a pause, a soft start ends it")
        << false << Steps{S::Check, S::Pause, S::Stop, S::Touch, S::Start, S::Tick} << Reports{R::None, R::Changed};
    // A hard stop holds against the starts that focus and clipboard changes make; only the
    // start that skips what happened meanwhile ends it.
    QTest::newRow("a hard stop holds until a skipping start, which drops changes")
        << false << Steps{S::Check, S::StopHard, S::Touch, S::Start, S::Tick, S::StartSkip, S::Tick, S::Touch, S::Tick}
        << Reports{R::None, R::None, R::None, R::Changed};
    QTest::newRow("a stop in a report holds")
        << false << Steps{S::Check, S::StopInReport, S::Touch, S::Check, S::Touch, S::Tick}
        << Reports{R::None, R::Changed, R::None};
    // What lies at the path, another file or none, is reported as such and never as a mere change.
    QTest::newRow("another moved over it")
        << false << Steps{S::Check, S::MoveOver, S::Check, S::Check} << Reports{R::None, R::Replaced, R::None};
    QTest::newRow("renamed away, then made anew")
        << false << Steps{S::Check, S::RenameAway, S::Check, S::Check, S::Touch, S::Check}
        << Reports{R::None, R::Removed, R::None, R::Replaced};
    // With the connection, only another connection's commit is a change.
    QTest::newRow("own commit or touched time stamp")
        << true << Steps{S::Check, S::OwnCommit, S::Check, S::Touch, S::Check} << Reports{R::None, R::None, R::None};
    QTest::newRow("another copy's commit, also right after a pause")
        << true << Steps{S::Check, S::OtherCommit, S::Check, S::Check, S::Pause, S::OtherCommit, S::Check}
        << Reports{R::None, R::Changed, R::None, R::Changed};
}

void TestTypeWatch::steps()
{
    QFETCH(bool, connected);
    QFETCH(Steps, steps);
    TypeWatch watch;
    watch.setConnection(connected ? connections.first() : QString());
    watch.addFile(path);
    Reports seen;
    connect(&watch, &TypeWatch::fileChanged, this, [&seen] { seen << Report::Changed; });
    connect(&watch, &TypeWatch::fileRemoved, this, [&seen] { seen << Report::Removed; });
    connect(&watch, &TypeWatch::fileReplaced, this, [&seen] { seen << Report::Replaced; });
    const QString other = dir.filePath(QStringLiteral("other.db"));
    const auto commit = [this](const QString &connection) {
        QVERIFY(QSqlQuery(QSqlDatabase::database(connection))
                    .exec(QStringLiteral("INSERT INTO TypeText (Str) VALUES ('x')")));
        touch(0); // a commit may leave the time stamp as it was
    };
    const std::map<Step, std::function<void()>> run = {
        {Step::Touch, [this] { touch(); }},
        {Step::Pause, [&watch] { watch.pause(); }},
        {Step::Stop, [&watch] { watch.stop(false); }},
        {Step::StopHard, [&watch] { watch.stop(true); }},
        {Step::Start, [&watch] { watch.start(false); }},
        {Step::StartSkip, [&watch] { watch.start(true); }},
        {Step::RenameAway, [&] { QVERIFY(QFile::rename(path, other)); }},
        {Step::MoveOver,
         [&] {
             QVERIFY(QFile::copy(path, other));
             QVERIFY(QFile::remove(path));
             QVERIFY(QFile::rename(other, path));
         }},
        {Step::StopInReport,
         [&watch] { connect(&watch, &TypeWatch::fileChanged, &watch, [&watch] { watch.stop(true); }); }},
        {Step::OwnCommit, [&] { commit(connections.first()); }},
        {Step::OtherCommit, [&] { commit(connections.last()); }},
        {Step::Check, [&watch] { watch.period(); }},
        {Step::Tick,
         [&watch] {
             if (watch.isRunning())
                 watch.period();
         }},
    };
    for (const Step step : steps) {
        const int before = seen.size();
        run.at(step)();
        if ((step == Step::Check || step == Step::Tick) && seen.size() == before)
            seen << Report::None;
    }
    QFile::remove(other);
    QTEST(seen, "reports");
}

QTEST_GUILESS_MAIN(TestTypeWatch)
#include "tst_typewatch.moc"
