#include "../common/dialogdriver.h"
#include "../common/testhome.h"
#include "app/globals.h"
#include "app/quillary.h"
#include "browser/keylayouttable.h"
#include "browser/sqltable.h"
#include "browser/typefind.h"
#include "editor/typeedit.h"

#include <QAction>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QToolBar>
#include <QtTest>

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void startup_placesDatabase_data();
    void startup_placesDatabase();
    void unreadableStore_givesDefaults();
    void closeAndRestart_keepsWindowAndHiddenBar_data();
    void closeAndRestart_keepsWindowAndHiddenBar();
    void closeAndRestart_restoresTableHeader();
    void keyLayout_saveLoadSaveIsIdentical();
    void laterRun_partialStore_data();
    void laterRun_partialStore();
    void quit_leavesStoreUntouched_data();
    void quit_leavesStoreUntouched();

private:
    void start();
    void stop();
    void closeByButton();
    QString settingsFile() const;
    QVariant stored(const QString &key) const;
    static QByteArray contents(const QString &path);
    static QString programFile(const QString &name);
    QAction *windowAction(const QString &text) const;

    QScopedPointer<TestHome> home;
    QScopedPointer<Quillary> window;
    QByteArray templateBytes;
    QString storePath;
};

void TestSettings::initTestCase()
{
    Q_INIT_RESOURCE(images);
    templateBytes = contents(programFile(QStringLiteral("org.db")));
    QVERIFY(!templateBytes.isEmpty());
}

void TestSettings::init()
{
    home.reset(new TestHome);
    storePath = QSettings(organizationName, applicationName).fileName();
}

void TestSettings::cleanup()
{
    stop();
    home.reset();
    // The template beside the program is never written to.
    QCOMPARE(contents(programFile(QStringLiteral("org.db"))), templateBytes);
}

// A new start as a new process would see it: no open connection, the globals and the
// key layout table as the program begins with them.
void TestSettings::start()
{
    nameFileDB.clear();
    language.clear();
    clearKeyLayout();
    window.reset(new Quillary);
}

void TestSettings::stop()
{
    window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
}

void TestSettings::closeByButton()
{
    QVERIFY(window->close());
    QVERIFY(!window->isVisible());
    stop();
}

// Taken once before the window runs: every new settings object on the file first writes
// out what other objects have pending, so asking for the name later would flush the store.
QString TestSettings::settingsFile() const
{
    return storePath;
}

// Read through a fresh object that loads the file, not a cache of the window's object.
QVariant TestSettings::stored(const QString &key) const
{
    QSettings reader(settingsFile(), QSettings::IniFormat);
    return reader.value(QStringLiteral("Settings/") + key);
}

QByteArray TestSettings::contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString TestSettings::programFile(const QString &name)
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + name;
}

QAction *TestSettings::windowAction(const QString &text) const
{
    for (QAction *action : window->findChildren<QAction *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

void TestSettings::startup_placesDatabase_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("copied");
    QTest::addColumn<bool>("reported");
    QTest::addColumn<bool>("userFolder");

    QTest::newRow("first start") << QString() << "user" << true << false << true;
    QTest::newRow("stored template is redirected") << "template"
                                                   << "user" << true << false << true;
    QTest::newRow("stored file deleted meanwhile") << "elsewhere/mine.db"
                                                   << "elsewhere/mine.db" << true << false << true;
    QTest::newRow("stored file kept") << "existing/mine.db"
                                      << "existing/mine.db" << false << false << false;
    QTest::newRow("stored file in a removed folder") << "gone/mine.db"
                                                     << "gone/mine.db" << false << true << true;
}

void TestSettings::startup_placesDatabase()
{
    QFETCH(QString, stored);
    QFETCH(QString, expected);
    QFETCH(bool, copied);
    QFETCH(bool, reported);
    QFETCH(bool, userFolder);

    const QString userPath = home->documents() + QStringLiteral("/Quillary");
    const auto resolve = [&](const QString &name) {
        if (name == QLatin1String("user"))
            return home->userDatabase();
        if (name == QLatin1String("template"))
            return programFile(QStringLiteral("org.db"));
        return home->path() + QLatin1Char('/') + name;
    };
    QVERIFY(QDir().mkpath(home->path() + QStringLiteral("/elsewhere")));
    QByteArray existing;
    if (stored.startsWith(QLatin1String("existing/"))) {
        QVERIFY(QDir().mkpath(home->path() + QStringLiteral("/existing")));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("maker"));
            db.setDatabaseName(resolve(stored));
            QVERIFY(db.open());
            QSqlQuery query(db);
            QVERIFY(query.exec(QStringLiteral("CREATE TABLE TypeText (id INTEGER PRIMARY KEY, Str TEXT)")));
            QVERIFY(query.exec(QStringLiteral("INSERT INTO TypeText (Str) VALUES ('mine')")));
            query.clear();
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("maker"));
        existing = contents(resolve(stored));
        QVERIFY(!existing.isEmpty());
    }
    if (!stored.isEmpty()) {
        QSettings settings(organizationName, applicationName);
        settings.setValue(QStringLiteral("Settings/NameFileDB"), resolve(stored));
    }

    DialogDriver driver;
    if (reported)
        driver.answerMessage();
    start();
    QVERIFY(driver.done());
    QVERIFY2(driver.unexpected.isEmpty(), qPrintable(driver.unexpected.join(QLatin1Char('|'))));
    if (reported)
        QVERIFY2(driver.texts.value(0).startsWith(QStringLiteral("Unable to open the base - ")),
                 qPrintable(driver.texts.value(0)));

    const QString path = resolve(expected);
    QCOMPARE(nameFileDB, path);
    QCOMPARE(QFileInfo(userPath).isDir(), userFolder);
    // Only the default database lives in the user folder; a file chosen elsewhere is refilled in place.
    QCOMPARE(QFile::exists(home->userDatabase()), expected == QLatin1String("user"));
    if (copied)
        QCOMPARE(contents(path), templateBytes);
    else if (!existing.isEmpty())
        QCOMPARE(contents(path), existing);
    else
        QVERIFY(!QFile::exists(path));
}

void TestSettings::unreadableStore_givesDefaults()
{
    // A folder where the store's file should be: nothing can be read from it, nor written to it.
    QVERIFY(QDir().mkpath(settingsFile()));
    QCOMPARE(QSettings(organizationName, applicationName).status(), QSettings::AccessError);

    start();
    QCOMPARE(nameFileDB, home->userDatabase());
    QCOMPARE(QFile(home->userDatabase()).size(), qint64(templateBytes.size()));
    QVERIFY(language.isEmpty());
    QCOMPARE(window->size(), QSize(800, 500));
    QCOMPARE(window->browser()->table->columnWidth(TypeFind::ColStr), 350);
    QCOMPARE(window->browser()->table->columnWidth(TypeFind::ColKeyWord), 200);
    QCOMPARE(keyLayoutTable().value(QChar(0x044F).unicode()), ushort('Z')); // я, from the built-in layout

    closeByButton();
    QVERIFY(QFileInfo(settingsFile()).isDir());
}

void TestSettings::closeAndRestart_keepsWindowAndHiddenBar_data()
{
    QTest::addColumn<QString>("hidden");

    QTest::newRow("nothing hidden") << QString();
    QTest::newRow("main toolbar") << "ToolBar";
    QTest::newRow("edit toolbar") << "Edit Tool Bar";
    QTest::newRow("font toolbar") << "FontToolBar";
    QTest::newRow("browser dock") << "TypeFind";
    QTest::newRow("editor dock") << "TypeEdit";
}

void TestSettings::closeAndRestart_keepsWindowAndHiddenBar()
{
    QFETCH(QString, hidden);

    start();
    QVERIFY(QTest::qWaitForWindowExposed(window.data()));
    const QRect geometry(QPoint(40, 30), QSize(640, 420));
    window->setGeometry(geometry);
    QTRY_COMPARE(window->geometry(), geometry);
    const QPoint framePos = window->pos();
    if (!hidden.isEmpty()) {
        QWidget *part = window->findChild<QWidget *>(hidden, Qt::FindDirectChildrenOnly);
        QVERIFY(part);
        // The way the Window menu does it.
        QAction *toggle = qobject_cast<QToolBar *>(part) ? static_cast<QToolBar *>(part)->toggleViewAction()
                                                         : static_cast<QDockWidget *>(part)->toggleViewAction();
        toggle->trigger();
        QTRY_VERIFY(part->isHidden());
    }
    QVERIFY(window->close());
    // Written to the file by the close itself, not left pending until some later event.
    QVERIFY(contents(settingsFile()).contains("Geometry"));
    stop();
    QVERIFY(!stored(QStringLiteral("Geometry")).toByteArray().isEmpty());
    QVERIFY(!stored(QStringLiteral("State")).toByteArray().isEmpty());
    QCOMPARE(stored(QStringLiteral("NameFileDB")).toString(), home->userDatabase());

    start();
    QVERIFY(QTest::qWaitForWindowExposed(window.data()));
    QCOMPARE(window->geometry(), geometry);
    QCOMPARE(window->pos(), framePos);
    const QStringList parts = {QStringLiteral("ToolBar"), QStringLiteral("Edit Tool Bar"),
                               QStringLiteral("FontToolBar"), QStringLiteral("TypeFind"), QStringLiteral("TypeEdit")};
    for (const QString &name : parts) {
        QWidget *part = window->findChild<QWidget *>(name, Qt::FindDirectChildrenOnly);
        QVERIFY2(part, qPrintable(name));
        QVERIFY2(part->isVisible() == (name != hidden), qPrintable(name));
    }
    QCOMPARE(nameFileDB, home->userDatabase());
}

void TestSettings::closeAndRestart_restoresTableHeader()
{
    start();
    QHeaderView *header = window->browser()->table->horizontalHeader();
    const int columns = header->count();
    QVERIFY(columns >= 13);
    header->moveSection(header->visualIndex(TypeFind::ColKeyWord), header->visualIndex(TypeFind::ColStr));
    header->resizeSection(TypeFind::ColStr, 222);
    header->resizeSection(TypeFind::ColLabels, 123);
    header->resizeSection(TypeFind::ColRating, 77);
    window->browser()->table->sortByColumn(TypeFind::ColFrequency, Qt::DescendingOrder);

    QVector<int> visual;
    QVector<int> sizes;
    QVector<bool> hidden;
    for (int column = 0; column < columns; ++column) {
        visual << header->visualIndex(column);
        sizes << header->sectionSize(column);
        hidden << header->isSectionHidden(column);
    }
    closeByButton();
    QVERIFY(!stored(QStringLiteral("SQLTable")).toByteArray().isEmpty());

    start();
    header = window->browser()->table->horizontalHeader();
    QCOMPARE(header->count(), columns);
    for (int column = 0; column < columns; ++column) {
        QCOMPARE(header->visualIndex(column), visual.at(column));
        QCOMPARE(header->isSectionHidden(column), hidden.at(column));
        if (!hidden.at(column))
            QCOMPARE(header->sectionSize(column), sizes.at(column)); // not the first-run widths
        QCOMPARE(header->sectionResizeMode(column), QHeaderView::Interactive);
    }
    QCOMPARE(header->sortIndicatorSection(), int(TypeFind::ColFrequency));
    QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
}

void TestSettings::keyLayout_saveLoadSaveIsIdentical()
{
    start();
    recordKeyPair(0x00DF, 0xDB); // learned while typing a keyword
    closeByButton();

    const QString scan = stored(QStringLiteral("KeyLayoutScan")).toString();
    const QString code = stored(QStringLiteral("KeyLayoutCode")).toString();
    QVERIFY(code.contains(QChar(0x00DF)));
    QCOMPARE(scan.size(), code.size());
    for (int i = 1; i < code.size(); ++i)
        QVERIFY(code.at(i - 1) < code.at(i));

    // Drop one default entry from the store: a later run must not bring the default back.
    const int dropped = code.indexOf(QChar(0x044F));
    QVERIFY(dropped >= 0);
    const QString editedScan = QString(scan).remove(dropped, 1);
    const QString editedCode = QString(code).remove(dropped, 1);
    {
        QSettings settings(organizationName, applicationName);
        settings.setValue(QStringLiteral("Settings/KeyLayoutScan"), editedScan);
        settings.setValue(QStringLiteral("Settings/KeyLayoutCode"), editedCode);
    }

    start();
    QCOMPARE(keyLayoutStrings(), qMakePair(editedScan, editedCode));
    QVERIFY(!keyLayoutTable().contains(0x044F));
    closeByButton();
    QCOMPARE(stored(QStringLiteral("KeyLayoutScan")).toString(), editedScan);
    QCOMPARE(stored(QStringLiteral("KeyLayoutCode")).toString(), editedCode);
}

void TestSettings::laterRun_partialStore_data()
{
    QTest::addColumn<QString>("removed");
    QTest::addColumn<bool>("windowRestored");
    QTest::addColumn<bool>("stateRestored");
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("layout");

    // Without a geometry the run counts as a first one: nothing else is read either.
    QTest::newRow("no Geometry") << "Geometry" << false << false << "first run"
                                 << "default";
    QTest::newRow("no State") << "State" << true << false << "saved"
                              << "saved";
    QTest::newRow("no SQLTable") << "SQLTable" << true << true << "as set up"
                                 << "saved";
    QTest::newRow("no key layout") << "KeyLayoutScan KeyLayoutCode" << true << true << "saved"
                                   << "empty";
}

void TestSettings::laterRun_partialStore()
{
    QFETCH(QString, removed);
    QFETCH(bool, windowRestored);
    QFETCH(bool, stateRestored);
    QFETCH(QString, header);
    QFETCH(QString, layout);

    start();
    QVERIFY(QTest::qWaitForWindowExposed(window.data()));
    const QRect geometry(QPoint(50, 40), QSize(620, 410));
    window->setGeometry(geometry);
    QTRY_COMPARE(window->geometry(), geometry);
    window->findChild<QToolBar *>(QStringLiteral("Edit Tool Bar"))->toggleViewAction()->trigger();
    QHeaderView *view = window->browser()->table->horizontalHeader();
    view->moveSection(view->visualIndex(TypeFind::ColKeyWord), view->visualIndex(TypeFind::ColStr));
    view->resizeSection(TypeFind::ColStr, 222);
    recordKeyPair(0x00DF, 0xDB);
    closeByButton();
    {
        QSettings settings(organizationName, applicationName);
        for (const QString &key : removed.split(QLatin1Char(' ')))
            settings.remove(QStringLiteral("Settings/") + key);
    }

    start();
    QVERIFY(QTest::qWaitForWindowExposed(window.data()));
    if (windowRestored)
        QCOMPARE(window->geometry(), geometry);
    else
        QCOMPARE(window->size(), QSize(800, 500));
    QCOMPARE(window->findChild<QToolBar *>(QStringLiteral("Edit Tool Bar"))->isVisible(), !stateRestored);
    QVERIFY(window->browser()->isVisible() && window->phraseEditor()->isVisible());
    QVERIFY(window->phraseEditor()->y() > window->browser()->y());

    view = window->browser()->table->horizontalHeader();
    const bool moved = view->visualIndex(TypeFind::ColKeyWord) < view->visualIndex(TypeFind::ColStr);
    QCOMPARE(moved, header == QLatin1String("saved"));
    if (header == QLatin1String("saved"))
        QCOMPARE(view->sectionSize(TypeFind::ColStr), 222);
    else if (header == QLatin1String("first run"))
        QCOMPARE(view->sectionSize(TypeFind::ColStr), 350);
    else
        QCOMPARE(view->sectionSize(TypeFind::ColStr), view->defaultSectionSize());
    for (int column = 0; column < view->count(); ++column)
        QCOMPARE(view->sectionResizeMode(column), QHeaderView::Interactive);

    const auto &table = keyLayoutTable();
    QCOMPARE(table.contains(0x00DF), layout == QLatin1String("saved"));
    QCOMPARE(table.contains(0x044F), layout != QLatin1String("empty"));
    if (layout == QLatin1String("empty"))
        QVERIFY(table.isEmpty());
}

void TestSettings::quit_leavesStoreUntouched_data()
{
    QTest::addColumn<bool>("byKey");

    QTest::newRow("Exit command") << false;
    if (!QKeySequence::keyBindings(QKeySequence::Quit).isEmpty())
        QTest::newRow("standard Quit key") << true;
}

void TestSettings::quit_leavesStoreUntouched()
{
    QFETCH(bool, byKey);

    start();
    closeByButton();
    const QByteArray before = contents(settingsFile());
    QVERIFY(!before.isEmpty());
    const QString database = home->userDatabase();

    start();
    QVERIFY(QTest::qWaitForWindowActive(window.data()));
    window->resize(520, 360);
    window->findChild<QToolBar *>(QStringLiteral("ToolBar"))->toggleViewAction()->trigger();
    window->browser()->table->setColumnWidth(TypeFind::ColStr, 99);
    recordKeyPair(0x00DF, 0xDB);
    nameFileDB = home->path() + QStringLiteral("/another.db");
    language = QStringLiteral("xx");

    QAction *exit = windowAction(QStringLiteral("E&xit"));
    QVERIFY(exit);
    if (byKey) {
        const QKeySequence quitKey = QKeySequence::keyBindings(QKeySequence::Quit).constFirst();
        QTimer::singleShot(0, window.data(), [this, quitKey] { QTest::keySequence(window.data(), quitKey); });
    } else {
        QTimer::singleShot(0, exit, &QAction::trigger);
    }
    // Should the command not end the loop, the guard does, with a code of its own.
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, qApp, [] { QCoreApplication::exit(99); });
    guard.start(5000);
    QCOMPARE(QCoreApplication::exec(), 0);
    guard.stop();

    QVERIFY2(window->isVisible(), "the window got a close event");
    QCOMPARE(contents(settingsFile()), before);
    stop();
    QCoreApplication::processEvents();
    QSettings(organizationName, applicationName).sync(); // writes out anything still pending
    QCOMPARE(contents(settingsFile()), before);

    start();
    QCOMPARE(nameFileDB, database);
    QVERIFY(language.isEmpty());
    QVERIFY(window->findChild<QToolBar *>(QStringLiteral("ToolBar"))->isVisible());
    QCOMPARE(window->size(), QSize(800, 500));
    QVERIFY(!keyLayoutTable().contains(0x00DF));
}

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
