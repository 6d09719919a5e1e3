#include "../common/phrasedatabase.h"
#include "db/typewatch.h"

#include <QSqlQuery>
#include <QTemporaryDir>
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
    Check, // one poll, which adds what it reported, or None
    Tick,  // the same, but only while the watcher's timer runs
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
        QVERIFY(!watch.removeFile(path.toUpper()));
        QVERIFY(watch.removeFile(path));
        QVERIFY(watch.removeFile(path));
        QVERIFY(!watch.removeFile(path));
    }

    // A report's receiver may stop the watcher, as the window does for a file removed under it: it stays stopped.
    void stopInReport_holds()
    {
        TypeWatch watch;
        watch.addFile(path);
        watch.period();
        connect(&watch, &TypeWatch::fileChanged, &watch, [&watch] { watch.stop(true); });
        touch();
        watch.period();
        QVERIFY(!watch.isRunning());
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
    for (const Step step : steps) {
        const int before = seen.size();
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
        case Step::RenameAway:
            QVERIFY(QFile::rename(path, other));
            break;
        case Step::MoveOver:
            QVERIFY(QFile::copy(path, other));
            QVERIFY(QFile::remove(path));
            QVERIFY(QFile::rename(other, path));
            break;
        case Step::OwnCommit:
        case Step::OtherCommit:
            QVERIFY(QSqlQuery(QSqlDatabase::database(connections.at(step == Step::OtherCommit)))
                        .exec(QStringLiteral("INSERT INTO TypeText (Str) VALUES ('x')")));
            touch(0); // a commit may leave the time stamp as it was
            break;
        case Step::Check:
        case Step::Tick:
            if (step == Step::Check || watch.isRunning())
                watch.period();
            if (seen.size() == before)
                seen << Report::None;
            break;
        }
    }
    QFile::remove(other);
    QTEST(seen, "reports");
}

QTEST_GUILESS_MAIN(TestTypeWatch)
#include "tst_typewatch.moc"
