#include "../common/dialogdriver.h"
#include "../common/testhome.h"
#include "app/globals.h"
#include "app/help.h"
#include "app/quillary.h"
#include "app/theme.h"
#include "browser/keylayouttable.h"
#include "browser/phrasemodel.h"
#include "browser/sqltable.h"
#include "browser/typefind.h"
#include "db/typewatch.h"
#include "editor/htmledit.h"
#include "editor/typeedit.h"

#include <QAction>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QSqlQuery>
#include <QStatusBar>
#include <QTextBrowser>
#include <QToolBar>
#include <QtTest>

namespace {

QString programFile(const QString &name)
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + name;
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Runs statements on a database file over a connection of its own; gives the first value of the last.
QVariant sql(const QString &path, const QStringList &statements)
{
    QVariant result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("side"));
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery query(db);
            for (const QString &statement : statements)
                result = query.exec(statement) && query.next() ? query.value(0) : QVariant();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("side"));
    return result;
}

int rowsIn(const QString &path)
{
    return sql(path, {QStringLiteral("SELECT count(*) FROM TypeText")}).toInt();
}

QString shownText(const Help *help)
{
    return help->textBrowser()->toPlainText();
}

} // namespace

class TestQuillary : public QObject
{
    Q_OBJECT

    QScopedPointer<TestHome> home;
    QScopedPointer<QTemporaryDir> work;
    QScopedPointer<Quillary> window;
    QString storePath;
    QByteArray templateBytes;

    // A start as a new process sees it: no connection, the globals and key layout empty.
    void start()
    {
        nameFileDB.clear();
        language.clear();
        clearKeyLayout();
        window.reset(new Quillary);
    }

    void stop()
    {
        Help *help = window ? window->helpWindow() : nullptr; // it has no parent and outlives the window
        window.reset();
        delete help;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
    }

    // Copies built files, each "name=built name", a bare code standing for Quillary_<code>.qm.
    // False when the build made none.
    bool installTranslations(const QString &files)
    {
        const QString built = QStringLiteral(QUILLARY_PROGRAM_DIR "/translations/");
        const QString folder = programFile(QStringLiteral("translations/"));
        QDir().mkpath(folder);
        for (QString file : files.split(QLatin1Char(' '))) {
            if (!file.contains(QLatin1Char('.')))
                file = QStringLiteral("Quillary_%1.qm=Quillary_%2.qm")
                           .arg(file.section(QLatin1Char('='), 0, 0), file.section(QLatin1Char('='), 1));
            QFile::copy(built + file.section(QLatin1Char('='), 1), folder + file.section(QLatin1Char('='), 0, 0));
        }
        return QFile::exists(built + QStringLiteral("Quillary_ru.qm"));
    }

    void switchLanguage(const QString &code)
    {
        QAction a;
        a.setData(code);
        window->switchLanguage(&a);
    }

    QAction *action(const QString &text) const
    {
        for (QAction *action : window->findChildren<QAction *>(QString(), Qt::FindDirectChildrenOnly))
            if (action->text() == text)
                return action;
        return nullptr;
    }

    QMenu *menuAt(int index) const { return window->menuBar()->actions().value(index)->menu(); }
    QMenu *languageMenu() const { return menuAt(3)->findChild<QMenu *>(QString(), Qt::FindDirectChildrenOnly); }
    QLabel *field(int index) const { return window->statusBar()->findChildren<QLabel *>().value(index); }

    int column(PhraseStore::Field field) const { return window->browser()->model->column(field); }

    int listedRows() const { return window->browser()->model->rowCount(); }

    // Every text of the window's parts and of the shown table columns, in a fixed order.
    QStringList visibleTexts() const
    {
        QStringList texts;
        for (const QObject *part : window->findChildren<QObject *>())
            if (!qobject_cast<const QLineEdit *>(part)) // typed text, not the program's
                for (const char *name : {"text", "statusTip", "title", "windowTitle"})
                    texts << part->property(name).toString();
        for (int column = 0; column < window->browser()->model->columnCount(); ++column)
            if (!window->browser()->table->isColumnHidden(column))
                texts << window->browser()->model->headerData(column, Qt::Horizontal).toString();
        return texts;
    }

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(images);
        templateBytes = contents(programFile(QStringLiteral("org.db")));
        QVERIFY(!templateBytes.isEmpty());
        // Help pages that name their language and themselves.
        for (const QString &code : {QStringLiteral("en"), QStringLiteral("ru")})
            for (const char *page : {"index.htm", "20.htm", "30.htm", "60.htm", "70.htm"})
                writeFile(programFile(QStringLiteral("Help_") + code + QLatin1Char('/') + QLatin1String(page)),
                          (code + QLatin1Char(':') + QLatin1String(page)).toUtf8());
    }

    void init()
    {
        home.reset(new TestHome);
        work.reset(new QTemporaryDir);
        storePath = QSettings(organizationName, applicationName).fileName();
        QDir(programFile(QStringLiteral("translations"))).removeRecursively();
    }

    void cleanup()
    {
        stop();
        work.reset();
        home.reset();
        // The template beside the program is never worked on.
        QCOMPARE(contents(programFile(QStringLiteral("org.db"))), templateBytes);
    }

    void startup_placesDatabase_data()
    {
        QTest::addColumn<QString>("stored"); // below the home folder; "template" for the one beside the program
        QTest::addColumn<bool>("opened");
        QTest::newRow("first start") << QString() << true;
        QTest::newRow("stored template is redirected") << "template" << true;
        QTest::newRow("stored file deleted meanwhile") << "elsewhere/mine.db" << true;
        QTest::newRow("stored file in a removed folder") << "gone/mine.db" << false;
    }

    void startup_placesDatabase()
    {
        QFETCH(QString, stored);
        QFETCH(bool, opened);
        QVERIFY(QDir().mkpath(home->path() + QStringLiteral("/elsewhere")));
        const bool byDefault = stored.isEmpty() || stored == QLatin1String("template");
        const QString path = byDefault ? home->userDatabase() : home->path() + QLatin1Char('/') + stored;
        if (!stored.isEmpty())
            QSettings(organizationName, applicationName)
                .setValue(QStringLiteral("Settings/NameFileDB"),
                          byDefault ? programFile(QStringLiteral("org.db")) : path);

        DialogDriver driver;
        if (!opened)
            driver.answerMessage();
        start();
        QVERIFY(driver.done() && driver.unexpected.isEmpty());
        QCOMPARE(driver.texts.value(0).startsWith(QStringLiteral("Unable to open the base - ")), !opened);
        QCOMPARE(nameFileDB, path);
        QCOMPARE(contents(path), opened ? templateBytes : QByteArray());
    }

    void settings_restoredAfterClose_data()
    {
        QTest::addColumn<QString>("removed"); // from the store between the runs
        QTest::newRow("all kept") << QString();
        // Without a geometry the start counts as a first one and reads no window or table state.
        QTest::newRow("no Geometry") << "Geometry";
        QTest::newRow("no State") << "State";
    }

    void settings_restoredAfterClose()
    {
        QFETCH(QString, removed);
        if (!installTranslations(QStringLiteral("en=en ru=ru")))
            QSKIP("no compiled translations");
        start();
        QVERIFY(QTest::qWaitForWindowExposed(window.data()));
        const QRect geometry(QPoint(50, 40), QSize(620, 410));
        window->setGeometry(geometry);
        QTRY_COMPARE(window->geometry(), geometry);
        window->findChild<QToolBar *>(QStringLiteral("Edit Tool Bar"))->toggleViewAction()->trigger();
        QHeaderView *header = window->browser()->table->horizontalHeader();
        header->moveSection(header->visualIndex(column(PhraseStore::KeyWord)),
                            header->visualIndex(column(PhraseStore::Str)));
        recordKeyPair(0x00DF, 0xDB);
        languageMenu()->actions().at(1)->trigger();
        QVERIFY(window->close());
        QVERIFY(contents(storePath).contains("Geometry")); // by the close itself, not some later event
        stop();
        if (!removed.isEmpty())
            QSettings(organizationName, applicationName).remove(QStringLiteral("Settings/") + removed);

        start();
        QVERIFY(QTest::qWaitForWindowExposed(window.data()));
        const bool firstRun = removed == QLatin1String("Geometry");
        QCOMPARE(nameFileDB, home->userDatabase());
        QCOMPARE(window->geometry(), firstRun ? QRect(window->geometry().topLeft(), QSize(800, 500)) : geometry);
        QCOMPARE(window->findChild<QToolBar *>(QStringLiteral("Edit Tool Bar"))->isVisible(), !removed.isEmpty());
        header = window->browser()->table->horizontalHeader();
        QCOMPARE(header->visualIndex(column(PhraseStore::KeyWord)) < header->visualIndex(column(PhraseStore::Str)),
                 !firstRun);
        QCOMPARE(keyLayoutTable().contains(0x00DF), !firstRun);
        QCOMPARE(menuAt(0)->title(), QStringLiteral("&Файл"));
    }

    void leaving_data()
    {
        QTest::addColumn<bool>("throughExit");
        QTest::newRow("Exit command") << true;
        QTest::newRow("close button") << false;
    }

    void leaving()
    {
        QFETCH(bool, throughExit);
        start();
        QVERIFY(QTest::qWaitForWindowActive(window.data()));
        TypeFind *find = window->browser();
        find->table->setFocus();
        find->table->setCurrentIndex(find->model->index(0, column(PhraseStore::Str)));
        const int id = find->model->index(0, column(PhraseStore::Id)).data().toInt();
        HtmlEdit *editor = window->phraseEditor()->editor;
        editor->setFocus();
        QTRY_VERIFY(editor->hasFocus());
        editor->moveCursor(QTextCursor::End);
        QTest::keyClicks(editor, QStringLiteral(" edited"));

        if (throughExit) {
            // Exit ends the event loop; should it not, the guard does, with a code of its own.
            QObject guard;
            QTimer::singleShot(5000, &guard, [] { QCoreApplication::exit(99); });
            QTimer::singleShot(0, action(QStringLiteral("E&xit")), &QAction::trigger);
            QCOMPARE(QCoreApplication::exec(), 0);
        } else {
            QVERIFY(window->close());
        }
        // The pending edit is stored either way; only the close button stores the settings.
        const QVariant stored = sql(nameFileDB, {QStringLiteral("SELECT Str FROM TypeText WHERE id = %1").arg(id)});
        QVERIFY2(stored.toString().endsWith(QStringLiteral(" edited")), qPrintable(stored.toString()));
        QCOMPARE(QFile::exists(storePath), !throughExit);
    }

    void fileCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("existing"); // phrases in the file chosen; -1 when there is none
        // SQL run on that file, or "cancel" the dialog, "backup" blocked by a folder, "template" unreadable
        QTest::addColumn<QString>("spoil");
        QTest::addColumn<bool>("switched");
        QTest::addColumn<QString>("error");
        const QString noTable = QStringLiteral("ALTER TABLE TypeText RENAME TO Elsewhere");
        const QString unable = QStringLiteral("Unable to open the base - ");
        QTest::newRow("open") << "open" << 3 << QString() << true << QString();
        QTest::newRow("open, no phrase table")
            << "open" << 3 << noTable << false << unable + QStringLiteral("table not found.");
        QTest::newRow("open cancelled") << "open" << 3 << "cancel" << false << QString();
        QTest::newRow("new") << "newDB" << -1 << QString() << true << QString();
        QTest::newRow("new, template unreadable") << "newDB" << -1 << "template" << false << unable;
        QTest::newRow("new, backup blocked") << "newDB" << 2 << "backup" << false << QString();
        QTest::newRow("save as over a file") << "saveAs" << 1 << QString() << true << QString();
        QTest::newRow("save as, backup blocked") << "saveAs" << 1 << "backup" << false << "Unable to save the base";
    }

    void fileCommands()
    {
        QFETCH(QString, command);
        QFETCH(int, existing);
        QFETCH(QString, spoil);
        QFETCH(bool, switched);
        QFETCH(QString, error);
        start();
        const QString before = nameFileDB;
        const int starter = listedRows();
        const QString target = work->filePath(QStringLiteral("letters.db"));
        if (existing >= 0 && QFile::copy(programFile(QStringLiteral("new.db")), target))
            sql(target, {QStringLiteral("INSERT INTO TypeText (Str) VALUES ") +
                             QStringLiteral("('a'),").repeated(existing).chopped(1),
                         spoil});
        if (spoil == QLatin1String("backup"))
            QVERIFY(QDir(work->path()).mkpath(QStringLiteral("letters.bak/inside")));
        const QString templ = programFile(QStringLiteral("new.db"));
        const QByteArray templBytes = contents(templ);
        if (spoil == QLatin1String("template"))
            writeFile(templ, QByteArray("not a database\n").repeated(100));

        DialogDriver driver;
        if (spoil == QLatin1String("cancel"))
            driver.expect(DialogDriver::cancel);
        else
            driver.chooseFile(existing >= 0 ? target : work->filePath(QStringLiteral("letters")));
        if (existing >= 0 && command != QLatin1String("open"))
            driver.answerMessage(QMessageBox::Yes); // the file dialog asks before replacing
        if (!error.isEmpty())
            driver.answerMessage();
        QVERIFY(QMetaObject::invokeMethod(window.data(), command.toLatin1().constData()));
        writeFile(templ, templBytes);

        QVERIFY(driver.done() && driver.unexpected.isEmpty());
        QVERIFY2(driver.texts.value(driver.texts.size() - 1).startsWith(error),
                 qPrintable(driver.texts.join(QLatin1Char('|'))));
        QCOMPARE(driver.titles.contains(QStringLiteral("Error")), !error.isEmpty());
        QCOMPARE(nameFileDB, switched ? target : before);
        QCOMPARE(window->windowTitle(), QStringLiteral("Quillary - ") + nameFileDB);
        QCOMPARE(listedRows(), switched && command != QLatin1String("saveAs") ? qMax(existing, 0) : starter);
        if (existing >= 0 && command != QLatin1String("open")) // a replaced file is kept as the backup
            QCOMPARE(rowsIn(work->filePath(switched ? QStringLiteral("letters.bak") : QStringLiteral("letters.db"))),
                     existing);
    }

    void importPhrases_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("added");
        QTest::addColumn<QString>("newDatabase"); // empty to add to the open one; "cancel" cancels its dialog
        QTest::newRow("txt") << "a.txt" << 3 << QString();
        QTest::newRow("ini") << "a.ini" << 2 << QString();
        QTest::newRow("into a new database") << "a.txt" << 3 << "fresh.db";
        QTest::newRow("new database cancelled") << "a.txt" << 0 << "cancel";
    }

    void importPhrases()
    {
        QFETCH(QString, file);
        QFETCH(int, added);
        QFETCH(QString, newDatabase);
        start();
        const QString open = nameFileDB;
        const int before = rowsIn(open);
        writeFile(work->filePath(QStringLiteral("a.txt")),
                  "one\tlabel\tkey\t5\t1\r\ntwo\t\t\t0\t0\r\nthree\t\t\t0\t0\r\n");
        writeFile(work->filePath(QStringLiteral("a.ini")), "[Row0]\nStr=first\nLabels=x\n[Row1]\nStr=second\n");

        DialogDriver driver;
        driver.chooseFile(work->filePath(file));
        driver.answerMessage(newDatabase.isEmpty() ? QMessageBox::No : QMessageBox::Yes);
        if (newDatabase == QLatin1String("cancel"))
            driver.expect(DialogDriver::cancel);
        else if (!newDatabase.isEmpty())
            driver.chooseFile(work->filePath(newDatabase));
        window->importDB();
        QVERIFY(driver.done() && driver.unexpected.isEmpty());
        const bool fresh = !newDatabase.isEmpty() && added > 0;
        QCOMPARE(nameFileDB, fresh ? work->filePath(newDatabase) : open);
        QCOMPARE(rowsIn(nameFileDB), (fresh ? 0 : before) + added);
        QCOMPARE(rowsIn(open), fresh ? before : before + added);
        if (added == 0)
            return;
        QCOMPARE(listedRows(), rowsIn(nameFileDB));
        QCOMPARE(field(1)->text(), QStringLiteral("%1 phrase(s) have been imported.").arg(added));
        // The import's own writes are no change by another program, and the watch goes on.
        QSignalSpy changes(window->browser()->watcher, &TypeWatch::fileChanged);
        window->browser()->watcher->period();
        QCOMPARE(changes.count(), 0);
        QVERIFY(window->browser()->watcher->isRunning());
    }

    void exportPhrases_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QByteArray>("existing"); // already under the completed name
        QTest::addColumn<int>("answer");          // to the question about replacing it
        QTest::newRow("txt") << "*.txt" << QByteArray() << 0;
        QTest::newRow("ini") << "*.ini" << QByteArray() << 0;
        QTest::newRow("completed name exists, kept") << "*.txt" << QByteArray("precious") << int(QMessageBox::No);
        QTest::newRow("completed name exists, replaced") << "*.ini" << QByteArray("precious") << int(QMessageBox::Yes);
    }

    void exportPhrases()
    {
        QFETCH(QString, filter);
        QFETCH(QByteArray, existing);
        QFETCH(int, answer);
        start();
        const QString written = work->filePath(QStringLiteral("out.") + filter.mid(2));
        if (!existing.isEmpty())
            writeFile(written, existing);

        DialogDriver driver;
        driver.chooseFile(work->filePath(QStringLiteral("out")), filter);
        if (answer)
            driver.answerMessage(QMessageBox::StandardButton(answer));
        window->exportDB();
        QVERIFY(driver.done() && driver.unexpected.isEmpty());
        const QByteArray bytes = contents(written);
        const bool replaced = answer != QMessageBox::No;
        QCOMPARE(bytes != existing, replaced);
        if (!replaced)
            return;
        QCOMPARE(bytes.startsWith("[Row0]"), filter == QLatin1String("*.ini"));
        QCOMPARE(field(1)->text(), QStringLiteral("%1 phrase(s) have been exported.").arg(rowsIn(nameFileDB)));
        // The first field shows the tips of the commands, the second keeps the message meanwhile.
        QVERIFY(action(QStringLiteral("Export..."))->showStatusText(window->menuBar()));
        QCOMPARE(field(0)->text(), QStringLiteral("Save phrases to a text file"));
        QVERIFY(field(1)->text().contains(QStringLiteral("exported")));
    }

    // Vertical Windows puts the docks side by side, Horizontal Windows one above the other, whatever they were.
    void windowCommands_arrangeDocks()
    {
        start();
        QVERIFY(QTest::qWaitForWindowExposed(window.data()));
        QDockWidget *find = window->browser();
        QDockWidget *edit = window->phraseEditor();
        window->tabifyDockWidget(find, edit);
        action(QStringLiteral("Vertical Windows"))->trigger();
        QTRY_VERIFY(find->isVisible() && edit->isVisible() && edit->y() == find->y() && edit->x() > find->x());
        edit->setFloating(true);
        find->toggleViewAction()->trigger();
        action(QStringLiteral("Horizontal Windows"))->trigger();
        QTRY_VERIFY(find->isVisible() && !edit->isFloating() && edit->x() == find->x() && edit->y() > find->y());
    }

    void clipboardChange_recomputesDockActions_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<bool>("text");
        QTest::addColumn<QString>("enabled"); // phrase paste, editor paste, bold
        QTest::newRow("table, text") << "table" << true << "100";
        QTest::newRow("editor, no text") << "editor" << false << "001";
        QTest::newRow("editor, text") << "editor" << true << "011";
        QTest::newRow("search line, text") << "search" << true << "000";
    }

    void clipboardChange_recomputesDockActions()
    {
        QFETCH(QString, focus);
        QFETCH(bool, text);
        QFETCH(QString, enabled);
        start();
        QVERIFY(QTest::qWaitForWindowActive(window.data()));
        TypeFind *find = window->browser();
        TypeEdit *edit = window->phraseEditor();
        find->table->setCurrentIndex(find->model->index(0, column(PhraseStore::Str)));
        edit->setHtml(QStringLiteral("a phrase"));
        QWidget *target = focus == QLatin1String("table")    ? find->table
                          : focus == QLatin1String("editor") ? static_cast<QWidget *>(edit->editor)
                                                             : find->findChild<QLineEdit *>();
        target->setFocus();
        QTRY_VERIFY(target->hasFocus());

        // Every action in the wrong state, so that only a recomputation sets it right.
        const QList<QAction *> actions{find->pastePhraseAction, edit->pasteAction, edit->boldAction};
        for (int i = 0; i < actions.size(); ++i)
            actions[i]->setEnabled(enabled[i] == QLatin1Char('0'));
        find->copyPhraseAction->setText(QStringLiteral("stale"));
        auto *mime = new QMimeData;
        mime->setData(QStringLiteral("application/octet-stream"), QByteArray("\x01\x02"));
        if (text)
            mime->setText(QStringLiteral("from another program"));
        QApplication::clipboard()->setMimeData(mime);
        QTRY_COMPARE(QString::number(actions[0]->isEnabled()) + QString::number(actions[1]->isEnabled()) +
                         QString::number(actions[2]->isEnabled()),
                     enabled);
        QCOMPARE(find->copyPhraseAction->text(), QStringLiteral("Copy Phrase"));
    }

    void languageMenu_builtFromFiles_data()
    {
        QTest::addColumn<QString>("files");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("entries"); // "*" marks the checked one
        QTest::addColumn<QString>("chosen");
        // clang-format off
        QTest::newRow("first start picks English") << "en=en ru=ru" << QString() << "*&1 English|&2 Русский" << "en";
        QTest::newRow("English sorting last") << "aa=ru zz=en" << QString() << "&1 Русский|*&2 English" << "zz";
        QTest::newRow("stored code with an underscore") << "en=en pt_BR=ru" << "pt_BR" << "&1 English|*&2 Русский" << "pt_BR";
        // One language offers no choice, so the Window menu ends with the toolbars.
        QTest::newRow("only program files count") << "ru=ru QtBase_en.qm=Quillary_en.qm" << QString() << "&1 Русский" << "ru";
        // clang-format on
    }

    void languageMenu_builtFromFiles()
    {
        QFETCH(QString, files);
        QFETCH(QString, stored);
        QFETCH(QString, entries);
        QFETCH(QString, chosen);
        if (!installTranslations(files))
            QSKIP("no compiled translations");
        if (!stored.isEmpty())
            QSettings(organizationName, applicationName).setValue(QStringLiteral("Settings/Language"), stored);
        start();

        QMenu *menu = languageMenu();
        QStringList texts;
        for (const QAction *action : menu->actions())
            texts << (action->isChecked() ? QStringLiteral("*") : QString()) + action->text();
        QCOMPARE(texts.join(QLatin1Char('|')), entries);
        QCOMPARE(language, chosen);
        // The start loads the language it settled on.
        const bool english =
            entries.contains(QStringLiteral("*&1 English")) || entries.contains(QStringLiteral("*&2 English"));
        QCOMPARE(menuAt(0)->title(), english ? QStringLiteral("&File") : QStringLiteral("&Файл"));
        QCOMPARE(menuAt(3)->actions().last()->menu() == menu, texts.size() > 1);
        QCOMPARE(menu->isEnabled(), texts.size() > 1);
    }

    void switchLanguage_retranslatesEverything()
    {
        if (!installTranslations(QStringLiteral("en=en ru=ru QtBase_ru.qm=QtBase_ru.qm")))
            QSKIP("no compiled translations");
        start();
        const QStringList english = visibleTexts();
        languageMenu()->actions().at(1)->trigger();
        const QStringList russian = visibleTexts();
        QCOMPARE(russian.size(), english.size());
        // Everything changes but the language names, which come from their files.
        const QStringList names{QStringLiteral("&1 English"), QStringLiteral("&2 Русский")};
        for (int i = 0; i < english.size(); ++i)
            QVERIFY2(english[i].isEmpty() || names.contains(english[i]) || russian[i] != english[i],
                     qPrintable(english[i]));
        QCOMPARE(menuAt(0)->actions().at(2)->text(), QStringLiteral("Сохранить базу данных как..."));
        // Every command has a text and, but for the Window menu's toggles, a status tip.
        for (int i = 0; i < 5; ++i)
            for (const QAction *a : menuAt(i)->actions())
                QVERIFY(a->isSeparator() || (!a->text().isEmpty() && (i == 3 || !a->statusTip().isEmpty())));
        // Qt's own texts come from a file of their own.
        if (QFile::exists(programFile(QStringLiteral("translations/QtBase_ru.qm"))))
            QCOMPARE(QDialogButtonBox(QDialogButtonBox::Cancel).button(QDialogButtonBox::Cancel)->text(),
                     QStringLiteral("Отмена"));
        languageMenu()->actions().at(0)->trigger();
        QCOMPARE(visibleTexts(), english);
    }

    void help_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("page");
        QTest::newRow("Content") << "helpIndex" << QString() << "en:index.htm";
        QTest::newRow("Getting Started, Russian") << "helpStarted" << QStringLiteral("ru") << "ru:20.htm";
        QTest::newRow("Technical Support, in English") << "helpSupport" << QStringLiteral("de") << "en:60.htm";
        QTest::newRow("Ordering Information") << "helpOrder" << QString() << "en:70.htm";
    }

    // A help command opens its page in one window that keeps its history and follows the language.
    void help()
    {
        QFETCH(QString, command);
        QFETCH(QString, code);
        QFETCH(QString, page);
        start();
        switchLanguage(code);
        QVERIFY(QMetaObject::invokeMethod(window.data(), command.toLatin1().constData()));
        Help *help = window->helpWindow();
        QVERIFY(help->isVisible() && !help->isModal() && shownText(help) == page);
        help->textBrowser()->setSource(QUrl(QStringLiteral("30.htm"))); // as a link does
        help->close();

        QVERIFY(QMetaObject::invokeMethod(window.data(), command.toLatin1().constData()));
        QCOMPARE(window->helpWindow(), help);
        QVERIFY(help->isVisible() && shownText(help) == page);
        const QList<QPushButton *> buttons = help->findChildren<QPushButton *>(); // back, contents, forward
        buttons[0]->click();
        QCOMPARE(shownText(help), page.left(3) + QStringLiteral("30.htm"));
        // The same page anew from the other folder, and no step in the history.
        const QString other = page.startsWith(QLatin1String("ru")) ? QStringLiteral("en") : QStringLiteral("ru");
        switchLanguage(other);
        QCOMPARE(shownText(help), other + QStringLiteral(":30.htm"));
        buttons[0]->click();
        QCOMPARE(shownText(help), other + page.mid(2));
        buttons[2]->click();
        QCOMPARE(shownText(help), other + QStringLiteral(":30.htm"));
        buttons[1]->click();
        QCOMPARE(shownText(help), other + QStringLiteral(":index.htm"));
    }

    void theme_chooseStyleSheet()
    {
        const QPalette light(Qt::white, Qt::white), dark(Qt::black, Qt::black); // the text colours follow
        // The system's dark mode wins; without it, or when its key cannot be read, the palette decides.
        QVERIFY(chooseStyleSheet(QSettings::NoError, 0, light) == StyleSheetKind::DarkAppMode);
        QVERIFY(chooseStyleSheet(QSettings::NoError, 1024, dark) == StyleSheetKind::DarkPalette);
        QVERIFY(chooseStyleSheet(QSettings::NoError, 1, light) == StyleSheetKind::LightPalette);
        QVERIFY(chooseStyleSheet(QSettings::AccessError, 0, dark) == StyleSheetKind::DarkPalette);
    }
};

QTEST_MAIN(TestQuillary)
#include "tst_quillary.moc"
