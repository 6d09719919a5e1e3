#include "../common/dialogdriver.h"
#include "../common/testhome.h"
#include "app/globals.h"
#include "app/quillary.h"
#include "browser/keylayouttable.h"
#include "browser/sqltable.h"
#include "browser/typefind.h"
#include "editor/typeedit.h"

#include <QAction>
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

    QScopedPointer<TestHome> home;
    QScopedPointer<Quillary> window;
    QByteArray templateBytes;
    // Taken once before the window runs: every new settings object on the file first writes
    // out what other objects have pending, so asking for the name later would flush the store.
    QString storePath;

    // A new start as a new process would see it: no open connection, the globals and the
    // key layout table as the program begins with them.
    void start()
    {
        nameFileDB.clear();
        language.clear();
        clearKeyLayout();
        window.reset(new Quillary);
    }

    void stop()
    {
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
    }

    void closeByButton()
    {
        QVERIFY(window->close());
        QVERIFY(!window->isVisible());
        stop();
    }

    // Read through a fresh object that loads the file, not a cache of the window's object.
    QVariant stored(const char *key) const
    {
        return QSettings(storePath, QSettings::IniFormat).value(QStringLiteral("Settings/") + QLatin1String(key));
    }

    static QByteArray contents(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static QString programFile(const QString &name)
    {
        return QCoreApplication::applicationDirPath() + QLatin1Char('/') + name;
    }

    // Hides a toolbar or dock the way the Window menu does.
    QWidget *toggle(const QString &name)
    {
        QWidget *part = window->findChild<QWidget *>(name, Qt::FindDirectChildrenOnly);
        if (auto *bar = qobject_cast<QToolBar *>(part))
            bar->toggleViewAction()->trigger();
        else if (auto *dock = qobject_cast<QDockWidget *>(part))
            dock->toggleViewAction()->trigger();
        return part;
    }

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(images);
        templateBytes = contents(programFile(QStringLiteral("org.db")));
        QVERIFY(!templateBytes.isEmpty());
    }

    void init()
    {
        home.reset(new TestHome);
        storePath = QSettings(organizationName, applicationName).fileName();
    }

    void cleanup()
    {
        stop();
        home.reset();
        // The template beside the program is never written to.
        QCOMPARE(contents(programFile(QStringLiteral("org.db"))), templateBytes);
    }

    void startup_placesDatabase_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("copied");
        QTest::addColumn<bool>("reported");
        QTest::addColumn<bool>("userFolder");

        QTest::newRow("first start") << QString() << true << false << true;
        QTest::newRow("stored template is redirected") << "template" << true << false << true;
        QTest::newRow("stored file deleted meanwhile") << "elsewhere/mine.db" << true << false << true;
        QTest::newRow("stored file kept") << "existing/mine.db" << false << false << false;
        QTest::newRow("stored file in a removed folder") << "gone/mine.db" << false << true << true;
    }

    void startup_placesDatabase()
    {
        QFETCH(QString, stored);
        QFETCH(bool, copied);
        QFETCH(bool, reported);
        QFETCH(bool, userFolder);

        const QString userPath = home->documents() + QStringLiteral("/Quillary");
        const auto resolve = [&](const QString &name) {
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
                db.exec(QStringLiteral("CREATE TABLE TypeText (id INTEGER PRIMARY KEY, Str TEXT)"));
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

        // The default database stands in for none stored and for the template.
        const bool byDefault = stored.isEmpty() || stored == QLatin1String("template");
        const QString path = byDefault ? home->userDatabase() : resolve(stored);
        QCOMPARE(nameFileDB, path);
        QCOMPARE(QFileInfo(userPath).isDir(), userFolder);
        // Only the default database lives in the user folder; a file chosen elsewhere is refilled in place.
        QCOMPARE(QFile::exists(home->userDatabase()), byDefault);
        if (copied)
            QCOMPARE(contents(path), templateBytes);
        else if (!existing.isEmpty())
            QCOMPARE(contents(path), existing);
        else
            QVERIFY(!QFile::exists(path));
    }

    void unreadableStore_givesDefaults()
    {
        // A folder where the store's file should be: nothing can be read from it, nor written to it.
        QVERIFY(QDir().mkpath(storePath));
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
        QVERIFY(QFileInfo(storePath).isDir());
    }

    void keyLayout_saveLoadSaveIsIdentical()
    {
        start();
        recordKeyPair(0x00DF, 0xDB); // learned while typing a keyword
        closeByButton();

        const QString scan = stored("KeyLayoutScan").toString();
        const QString code = stored("KeyLayoutCode").toString();
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
        QCOMPARE(stored("KeyLayoutScan").toString(), editedScan);
        QCOMPARE(stored("KeyLayoutCode").toString(), editedCode);
    }

    void closeAndRestart_data()
    {
        QTest::addColumn<QString>("removed"); // keys taken out of the store between the runs
        QTest::addColumn<bool>("dockHidden"); // the editor dock, else the edit toolbar
        QTest::addColumn<QString>("restored");

        QTest::newRow("all kept, toolbar hidden") << QString() << false << "geometry state header keys";
        QTest::newRow("all kept, dock hidden") << QString() << true << "geometry state header keys";
        // Without a geometry the run counts as a first one: nothing else is read either.
        QTest::newRow("no Geometry") << "Geometry" << false << QString();
        QTest::newRow("no State") << "State" << false << "geometry header keys";
        QTest::newRow("no SQLTable") << "SQLTable" << false << "geometry state keys";
        QTest::newRow("no key layout") << "KeyLayoutScan KeyLayoutCode" << false << "geometry state header";
    }

    void closeAndRestart()
    {
        QFETCH(QString, removed);
        QFETCH(bool, dockHidden);
        QFETCH(QString, restored);
        const QString hidden = dockHidden ? QStringLiteral("TypeEdit") : QStringLiteral("Edit Tool Bar");
        const bool windowRestored = restored.contains(QLatin1String("geometry"));
        const bool stateRestored = restored.contains(QLatin1String("state"));

        start();
        QVERIFY(QTest::qWaitForWindowExposed(window.data()));
        const QRect geometry(QPoint(50, 40), QSize(620, 410));
        window->setGeometry(geometry);
        QTRY_COMPARE(window->geometry(), geometry);
        const QPoint framePos = window->pos();
        QWidget *part = toggle(hidden);
        QVERIFY(part);
        QTRY_VERIFY(part->isHidden());
        QHeaderView *view = window->browser()->table->horizontalHeader();
        view->moveSection(view->visualIndex(TypeFind::ColKeyWord), view->visualIndex(TypeFind::ColStr));
        view->resizeSection(TypeFind::ColStr, 222);
        window->browser()->table->sortByColumn(TypeFind::ColFrequency, Qt::DescendingOrder);
        recordKeyPair(0x00DF, 0xDB);
        QVERIFY(window->close());
        // Written to the file by the close itself, not left pending until some later event.
        QVERIFY(contents(storePath).contains("Geometry"));
        stop();
        QCOMPARE(stored("NameFileDB").toString(), home->userDatabase());
        {
            QSettings settings(organizationName, applicationName);
            for (const QString &key : removed.split(QLatin1Char(' '), Qt::SkipEmptyParts))
                settings.remove(QStringLiteral("Settings/") + key);
        }

        start();
        QVERIFY(QTest::qWaitForWindowExposed(window.data()));
        QCOMPARE(nameFileDB, home->userDatabase());
        if (windowRestored) {
            QCOMPARE(window->geometry(), geometry);
            QCOMPARE(window->pos(), framePos);
        } else {
            QCOMPARE(window->size(), QSize(800, 500));
        }
        for (const char *name : {"ToolBar", "Edit Tool Bar", "FontToolBar", "TypeFind", "TypeEdit"}) {
            part = window->findChild<QWidget *>(QLatin1String(name), Qt::FindDirectChildrenOnly);
            QVERIFY2(part && part->isVisible() == (!stateRestored || hidden != QLatin1String(name)), name);
        }
        if (hidden != QLatin1String("TypeEdit"))
            QVERIFY(window->phraseEditor()->y() > window->browser()->y());

        view = window->browser()->table->horizontalHeader();
        const bool moved = view->visualIndex(TypeFind::ColKeyWord) < view->visualIndex(TypeFind::ColStr);
        QCOMPARE(moved, restored.contains(QLatin1String("header")));
        if (moved) {
            QCOMPARE(view->sectionSize(TypeFind::ColStr), 222);
            QCOMPARE(view->sortIndicatorSection(), int(TypeFind::ColFrequency));
            QCOMPARE(view->sortIndicatorOrder(), Qt::DescendingOrder);
        } else {
            QCOMPARE(view->sectionSize(TypeFind::ColStr), windowRestored ? view->defaultSectionSize() : 350);
        }
        for (int column = 0; column < view->count(); ++column)
            QCOMPARE(view->sectionResizeMode(column), QHeaderView::Interactive);

        const auto &table = keyLayoutTable();
        // The learned pair comes back with the saved layout; a first run starts from the built-in one.
        QCOMPARE(table.contains(0x00DF), restored.contains(QLatin1String("keys")));
        QCOMPARE(table.contains(0x044F), restored.contains(QLatin1String("keys")) || !windowRestored);
        if (!restored.contains(QLatin1String("keys")) && windowRestored)
            QVERIFY(table.isEmpty());
    }

    void quit_leavesStoreUntouched_data()
    {
        QTest::addColumn<bool>("byKey");

        QTest::newRow("Exit command") << false;
        if (!QKeySequence::keyBindings(QKeySequence::Quit).isEmpty())
            QTest::newRow("standard Quit key") << true;
    }

    void quit_leavesStoreUntouched()
    {
        QFETCH(bool, byKey);

        start();
        closeByButton();
        const QByteArray before = contents(storePath);
        QVERIFY(!before.isEmpty());

        start();
        QVERIFY(QTest::qWaitForWindowActive(window.data()));
        window->resize(520, 360);
        QVERIFY(toggle(QStringLiteral("ToolBar")));
        window->browser()->table->setColumnWidth(TypeFind::ColStr, 99);
        recordKeyPair(0x00DF, 0xDB);
        nameFileDB = home->path() + QStringLiteral("/another.db");
        language = QStringLiteral("xx");

        QAction *exit = nullptr;
        for (QAction *action : window->findChildren<QAction *>(QString(), Qt::FindDirectChildrenOnly))
            exit = action->text() == QLatin1String("E&xit") ? action : exit;
        QVERIFY(exit);
        if (byKey) {
            const QKeySequence quitKey = QKeySequence::keyBindings(QKeySequence::Quit).constFirst();
            QTimer::singleShot(0, window.data(), [this, quitKey] { QTest::keySequence(window.data(), quitKey); });
        } else {
            QTimer::singleShot(0, exit, &QAction::trigger);
        }
        // Should the command not end the loop, the guard does, with a code of its own.
        {
            QObject guard; // its end cancels the timer
            QTimer::singleShot(5000, &guard, [] { QCoreApplication::exit(99); });
            QCOMPARE(QCoreApplication::exec(), 0);
        }

        QVERIFY2(window->isVisible(), "the window got a close event");
        QCOMPARE(contents(storePath), before);
        stop();
        QCoreApplication::processEvents();
        QSettings(organizationName, applicationName).sync(); // writes out anything still pending
        QCOMPARE(contents(storePath), before);

        start();
        QCOMPARE(nameFileDB, home->userDatabase());
        QVERIFY(language.isEmpty());
        QVERIFY(window->findChild<QToolBar *>(QStringLiteral("ToolBar"))->isVisible());
        QCOMPARE(window->size(), QSize(800, 500));
        QVERIFY(!keyLayoutTable().contains(0x00DF));
    }
};

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
