#include "db/typewatch.h"

#include <QTemporaryDir>
#include <QtTest>

class TestTypeWatch : public QObject
{
    Q_OBJECT

private slots:
    void init() { touch(); }
    void steps_data();
    void steps();

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
    QTest::newRow("file deleted and recreated") << "check delete check check touch check -> 0 1 1 2";
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

QTEST_GUILESS_MAIN(TestTypeWatch)
#include "tst_typewatch.moc"
