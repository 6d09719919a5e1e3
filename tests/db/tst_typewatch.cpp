#include "db/typewatch.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
QStringList logged;

void collect(QtMsgType, const QMessageLogContext &, const QString &message)
{
    logged << message;
}
} // namespace

class TestTypeWatch : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void stateMachine_data();
    void stateMachine();
    void hardStop_refusesSoftStart();
    void skippingStart_logsAndDropsChanges();
    void removeFile_exactNameOnly();
    void timer_reportsWithinInterval();

private:
    // File timestamps are coarse, so every change moves the time on explicitly.
    void touch();
    QString path;
    QScopedPointer<QTemporaryDir> dir;
    int touches = 0;
};

void TestTypeWatch::init()
{
    dir.reset(new QTemporaryDir);
    path = dir->filePath(QStringLiteral("phrases.db"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("x");
    file.close();
    touches = 0;
    touch();
}

void TestTypeWatch::touch()
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    const QDateTime when = QDateTime(QDate(2024, 1, 1), QTime(12, 0)).addSecs(++touches * 10);
    QVERIFY(file.setFileTime(when, QFileDevice::FileModificationTime));
}

void TestTypeWatch::stateMachine_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QList<int>>("reportsAfterEachCheck");

    const auto steps = [](const char *text) { return QString::fromLatin1(text).split(QLatin1Char(' ')); };
    QTest::newRow("first check after construction is silent") << steps("touch check") << QList<int>{0};
    QTest::newRow("one change is reported once") << steps("check touch check check") << QList<int>{0, 1, 1};
    QTest::newRow("two changes before a check give one report") << steps("check touch touch check") << QList<int>{0, 1};
    QTest::newRow("pause hides exactly the next check")
        << steps("check pause touch check touch check") << QList<int>{0, 0, 1};
    QTest::newRow("pause without change still uses up one check")
        << steps("check pause check touch check") << QList<int>{0, 0, 1};
    QTest::newRow("stop cancels a pending pause")
        << steps("check pause stop-soft touch start check") << QList<int>{0, 1};
    QTest::newRow("change while softly stopped is reported after start")
        << steps("check stop-soft touch start check") << QList<int>{0, 1};
    QTest::newRow("skipping start drops changes made while stopped")
        << steps("check stop-hard touch start-skip check touch check") << QList<int>{0, 0, 1};
    QTest::newRow("deleted file reported once, recreated file again")
        << steps("check delete check check create check") << QList<int>{0, 1, 1, 2};
}

void TestTypeWatch::stateMachine()
{
    QFETCH(QStringList, steps);
    QFETCH(QList<int>, reportsAfterEachCheck);

    TypeWatch watch;
    QVERIFY(watch.addFile(path));
    QSignalSpy spy(&watch, &TypeWatch::fileChanged);
    QList<int> reports;
    for (const QString &step : steps) {
        if (step == QLatin1String("touch")) {
            touch();
        } else if (step == QLatin1String("check")) {
            watch.period();
            reports << spy.count();
        } else if (step == QLatin1String("pause")) {
            watch.pause();
        } else if (step == QLatin1String("stop-soft")) {
            watch.stop(false);
        } else if (step == QLatin1String("stop-hard")) {
            watch.stop(true);
        } else if (step == QLatin1String("start")) {
            watch.start(false);
        } else if (step == QLatin1String("start-skip")) {
            watch.start(true);
        } else if (step == QLatin1String("delete")) {
            QVERIFY(QFile::remove(path));
        } else if (step == QLatin1String("create")) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.close();
            touch();
        } else {
            QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
        }
    }
    QCOMPARE(reports, reportsAfterEachCheck);
    for (const QList<QVariant> &signal : qAsConst(spy))
        QCOMPARE(signal.at(0).toString(), path);
}

void TestTypeWatch::hardStop_refusesSoftStart()
{
    TypeWatch watch;
    watch.addFile(path);
    watch.start(false);
    QVERIFY(watch.isRunning());
    watch.stop(true);
    QVERIFY(!watch.isRunning());

    logged.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collect);
    watch.start(false);
    qInstallMessageHandler(previous);
    QVERIFY2(logged.isEmpty(), qPrintable(logged.join(QLatin1Char('|'))));
    QVERIFY(!watch.isRunning());
    QVERIFY(watch.isHardStopped());

    // A soft stop clears the hard one only through a skipping start.
    watch.stop(false);
    watch.start(false);
    QVERIFY(watch.isRunning());
}

void TestTypeWatch::skippingStart_logsAndDropsChanges()
{
    TypeWatch watch;
    watch.addFile(path);
    watch.period();
    watch.stop(true);
    touch();

    logged.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collect);
    watch.start(true);
    qInstallMessageHandler(previous);
    QCOMPARE(logged, QStringList{QStringLiteral("Start fPause=false")});
    QVERIFY(watch.isRunning());

    QSignalSpy spy(&watch, &TypeWatch::fileChanged);
    watch.period();
    QCOMPARE(spy.count(), 0);
}

void TestTypeWatch::removeFile_exactNameOnly()
{
    TypeWatch watch;
    watch.addFile(path);
    watch.addFile(path);
    QVERIFY(!watch.removeFile(path.toUpper()));
    QVERIFY(watch.removeFile(path));
    QVERIFY(watch.removeFile(path));
    QVERIFY(!watch.removeFile(path));
}

void TestTypeWatch::timer_reportsWithinInterval()
{
    TypeWatch watch;
    watch.addFile(path);
    QSignalSpy spy(&watch, &TypeWatch::fileChanged);
    watch.period(); // the silent first check
    watch.start(false);
    touch();
    QTRY_COMPARE_WITH_TIMEOUT(spy.count(), 1, 3000);
    QVERIFY(watch.isRunning());
}

QTEST_GUILESS_MAIN(TestTypeWatch)
#include "tst_typewatch.moc"
