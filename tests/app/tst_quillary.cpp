#include "../common/dialogdriver.h"
#include "../common/filebytes.h"
#include "../common/testhome.h"
#include "app/commandline.h"
#include "app/commandrunner.h"
#include "app/globals.h"
#include "app/help.h"
#include "app/quillary.h"
#include "app/summonchannel.h"
#include "app/theme.h"
#include "browser/keylayouttable.h"
#include "browser/phrasemodel.h"
#include "browser/sqltable.h"
#include "browser/typefind.h"
#include "db/typewatch.h"
#include "editor/htmledit.h"
#include "editor/typeedit.h"

#include <QtSql>
#include <QtTest>
#include <QtWidgets>

#include <atomic>

namespace {

QString programFile(const QString &name)
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + name;
}

// Runs statements on a database file over a connection of its own; gives the first value of the last.
QVariant sql(const QString &path, const QStringList &statements)
{
    QVariant result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("side"));
        db.setDatabaseName(path);
        db.open(); // else every statement fails
        QSqlQuery query(db);
        for (const QString &statement : statements)
            result = query.exec(statement) && query.next() ? query.value(0) : QVariant();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("side"));
    return result;
}

int rowsIn(const QString &path)
{
    return sql(path, {QStringLiteral("SELECT count(*) FROM TypeText")}).toInt();
}

} // namespace

// The main window's wiring: its commands, start-up, session and files. What they hand the work to (the
// database checks, the phrase files, the browser's and editor's own slots) has tests of its own.
class TestQuillary : public QObject
{
    Q_OBJECT

    QScopedPointer<TestHome> home;
    QScopedPointer<QTemporaryDir> work;
    QScopedPointer<Quillary> window;
    QScopedPointer<DialogDriver> dialogs; // every case ends with each answer used and no dialog unasked
    QString storePath;
    QByteArray templateBytes;

    // A start as a new process sees it: no connection, the globals and key layout empty.
    void start(const QString &databaseFile = QString(), const std::optional<QString> &search = std::nullopt)
    {
        nameFileDB.clear();
        language.clear();
        clearKeyLayout();
        window.reset(new Quillary(databaseFile, search));
    }

    void stop()
    {
        Help *help = window ? window->helpWindow() : nullptr; // it has no parent and outlives the window
        window.reset();
        delete help;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
    }

    // Copies built files, each "installed name=built name"; false when the build made none.
    bool installTranslations(const QString &files)
    {
        const QString built = QStringLiteral(QUILLARY_PROGRAM_DIR "/translations/");
        QDir().mkpath(programFile(QStringLiteral("translations")));
        for (const QString &file : files.split(QLatin1Char(' ')))
            QFile::copy(built + file.section(QLatin1Char('='), 1),
                        programFile(QStringLiteral("translations/") + file.section(QLatin1Char('='), 0, 0)));
        return QFile::exists(built + QStringLiteral("Quillary_ru.qm"));
    }

    // File, Phrase, Edit, Window, Help
    QMenu *menuAt(int index) const { return window->menuBar()->actions().value(index)->menu(); }
    QMenu *languageMenu() const { return menuAt(3)->findChild<QMenu *>(QString(), Qt::FindDirectChildrenOnly); }
    // "*" marks the checked entry.
    QString languageEntries() const
    {
        QStringList texts;
        for (const QAction *action : languageMenu()->actions())
            texts << (action->isChecked() ? QStringLiteral("*") : QString()) + action->text();
        return texts.join(QLatin1Char('|'));
    }
    QLabel *field(int index) const { return window->statusBar()->findChildren<QLabel *>().value(index); }
    TypeFind *find() const { return window->browser(); }
    int column(PhraseStore::Field field) const { return find()->model->column(field); }
    QModelIndex cell(int row, PhraseStore::Field f = PhraseStore::Str) const
    {
        return find()->model->index(row, column(f));
    }
    int listedRows() const { return find()->model->rowCount(); }

    // Every text of the window's parts and of the shown table columns, in a fixed order.
    QStringList visibleTexts() const
    {
        QStringList texts;
        for (const QObject *part : window->findChildren<QObject *>())
            if (!qobject_cast<const QLineEdit *>(part) && part->parent() != field(0)->parent()) // typed, messages
                for (const char *name : {"text", "statusTip", "title", "windowTitle"})
                    texts << part->property(name).toString();
        for (int column = 0; column < find()->model->columnCount(); ++column)
            if (!find()->table->isColumnHidden(column))
                texts << find()->model->headerData(column, Qt::Horizontal).toString();
        return texts;
    }

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(images);
        templateBytes = readFile(programFile(QStringLiteral("org.db")));
        QVERIFY(!templateBytes.isEmpty());
        // Help pages that name their language and themselves.
        for (const QString &code : {QStringLiteral("en"), QStringLiteral("pt_BR")})
            for (const char *page : {"index.htm", "20.htm", "30.htm"})
                QVERIFY(writeFile(programFile(QStringLiteral("Help_") + code + QLatin1Char('/') + QLatin1String(page)),
                                  (code + QLatin1Char(':') + QLatin1String(page)).toUtf8()));
    }

    void init()
    {
        home.reset(new TestHome);
        work.reset(new QTemporaryDir);
        dialogs.reset(new DialogDriver);
        storePath = QSettings(organizationName, applicationName).fileName();
        QDir(programFile(QStringLiteral("translations"))).removeRecursively();
    }

    void cleanup()
    {
        stop();
        work.reset();
        home.reset();
        QCOMPARE(readFile(programFile(QStringLiteral("org.db"))), templateBytes); // the template is never worked on
        QCOMPARE(dialogs->trouble(), QString());
    }

    void start_opensDatabase_data()
    {
        QTest::addColumn<QString>("stored");   // below the home folder; "template" for the one beside the program
        QTest::addColumn<QString>("argument"); // the file named on the command line, below the work folder
        QTest::addColumn<QString>("error");    // pattern of the whole message, <path> the file not opened
        const QString unable = QStringLiteral("Unable to open the base - ");
        QTest::newRow("first start") << QString() << QString() << QString();
        QTest::newRow("stored template is redirected") << "template" << QString() << QString();
        QTest::newRow("stored file deleted meanwhile") << "mine.db" << QString() << QString();
        QTest::newRow("stored file in a removed folder, not made")
            << "gone/mine.db" << QString() << unable + QStringLiteral("<path>: .+");
        QTest::newRow("phrase file for this run, summoned") << QString() << "team.db" << QString();
        QTest::newRow("no such file for this run, started searching")
            << QString() << "gone/team.db" << unable + QStringLiteral("there is no file <path>\\.");
    }

    // A first start, or one whose file was deleted, starts from the starter phrases, never in the template itself;
    // a file in a folder that is gone is not made. A file named on the command line is opened for that run, and the
    // settings keep the stored one. A search, given at start or by a summons from a second start, brings the window up
    // with the first phrase found current.
    void start_opensDatabase()
    {
        QFETCH(QString, stored);
        QFETCH(QString, argument);
        QFETCH(QString, error);
        const bool byDefault = stored.isEmpty() || stored == QLatin1String("template");
        const QString given = argument.isEmpty() ? QString() : work->filePath(argument);
        const QString path = byDefault ? home->userDatabase() : home->path() + QLatin1Char('/') + stored;
        const QString missed = given.isEmpty() ? path : given;
        if (!stored.isEmpty())
            QSettings(organizationName, applicationName)
                .setValue(QStringLiteral("Settings/NameFileDB"),
                          byDefault ? programFile(QStringLiteral("org.db")) : path);
        const bool runFile = argument == QLatin1String("team.db");
        if (runFile)
            QVERIFY(QFile::copy(programFile(QStringLiteral("org.db")), given));
        if (!error.isEmpty())
            dialogs->answerMessage();
        start(given, given.isEmpty() || runFile ? std::nullopt : std::optional<QString>(QStringLiteral("REGARDS")));
        error.replace(QStringLiteral("<path>"), QRegularExpression::escape(QDir::toNativeSeparators(missed)));
        QVERIFY2(
            QRegularExpression(QRegularExpression::anchoredPattern(error)).match(dialogs->texts.value(0)).hasMatch(),
            qPrintable(dialogs->texts.value(0)));
        QCOMPARE(nameFileDB, runFile ? given : path);
        QCOMPARE(readFile(nameFileDB), stored.startsWith(QLatin1String("gone")) ? QByteArray() : templateBytes);
        QCOMPARE(QFile::exists(given), runFile);
        if (given.isEmpty())
            return;
        if (runFile) {
            window->showMinimized();
            window->summon(QStringLiteral("REGARDS"));
        }
        QVERIFY(!window->isMinimized());
        QCOMPARE(find()->findChild<QLineEdit *>()->text(), QStringLiteral("REGARDS"));
        QCOMPARE(field(1)->text(), QStringLiteral("%1 phrase(s) have been found.").arg(listedRows()));
        QVERIFY(listedRows() > 0);
        QVERIFY(listedRows() < rowsIn(nameFileDB));
        QCOMPARE(find()->table->currentIndex(), cell(0));
        window->close();
        QCOMPARE(QSettings(organizationName, applicationName).value(QStringLiteral("Settings/NameFileDB")).toString(),
                 home->userDatabase());
    }

    void session_restartRestoresWhatCloseStored_data()
    {
        QTest::addColumn<bool>("throughExit");
        QTest::newRow("Exit command") << true;
        QTest::newRow("close button") << false;
    }

    // A session: the language is switched, help read, the layout and a phrase changed. Either way out ends the
    // program, with the help window open, and stores the edit; the next start restores what the close button stored.
    void session_restartRestoresWhatCloseStored()
    {
        QFETCH(bool, throughExit);
        // A code with an underscore is kept whole; English sorts last and is still the first start's choice.
        if (!installTranslations(QStringLiteral("Quillary_pt_BR.qm=Quillary_ru.qm Quillary_zz.qm=Quillary_en.qm "
                                                "QtBase_pt_BR.qm=QtBase_ru.qm")))
            QSKIP("no compiled translations");
        start();
        QCOMPARE(languageEntries(), QStringLiteral("&1 Русский|*&2 English"));
        QCOMPARE(menuAt(3)->actions().last()->menu(), languageMenu());
        QVERIFY(languageMenu()->isEnabled());
        window->helpIndex();
        Help *help = window->helpWindow();
        const auto shown = [help] { return help->textBrowser()->toPlainText(); };
        QCOMPARE(shown(), QStringLiteral("en:index.htm"));              // this language has no help folder of its own
        help->textBrowser()->setSource(QUrl(QStringLiteral("30.htm"))); // as a link does
        const QStringList english = visibleTexts();
        languageMenu()->actions().at(0)->trigger();
        QCOMPARE(shown(), QStringLiteral("pt_BR:30.htm")); // the page anew, from the language's folder
        help->close();
        window->helpStarted(); // the same window again, left open
        QCOMPARE(window->helpWindow(), help);
        QCOMPARE(shown(), QStringLiteral("pt_BR:20.htm"));
        // Everything is retranslated but the language names, which come from their files.
        const QStringList russian = visibleTexts(), names{QStringLiteral("&1 Русский"), QStringLiteral("&2 English")};
        QCOMPARE(russian.size(), english.size());
        for (int i = 0; i < english.size(); ++i)
            QVERIFY2(english[i].isEmpty() || names.contains(english[i]) || russian[i] != english[i],
                     qPrintable(english[i]));
        // Qt's own texts come from a file of their own.
        if (QFile::exists(programFile(QStringLiteral("translations/QtBase_pt_BR.qm"))))
            QCOMPARE(QDialogButtonBox(QDialogButtonBox::Cancel).button(QDialogButtonBox::Cancel)->text(),
                     QStringLiteral("Отмена"));

        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.data()));
        const QRect geometry(QPoint(50, 40), QSize(620, 410));
        window->setGeometry(geometry);
        QTRY_COMPARE(window->geometry(), geometry);
        window->findChild<QToolBar *>(QStringLiteral("Edit Tool Bar"))->toggleViewAction()->trigger();
        QHeaderView *header = find()->table->horizontalHeader();
        header->moveSection(header->visualIndex(column(PhraseStore::KeyWord)),
                            header->visualIndex(column(PhraseStore::Str)));
        recordKeyPair(0x00DF, 0xDB);
        find()->table->setCurrentIndex(cell(0));
        const int id = cell(0, PhraseStore::Id).data().toInt();
        HtmlEdit *editor = window->phraseEditor()->editor;
        editor->setFocus();
        QTRY_VERIFY(editor->hasFocus());
        QTest::keyClicks(editor, QStringLiteral("edited "));

        QByteArray store;
        if (throughExit) {
            // Exit (the end of the File menu) stores the edit itself: no event runs before the file is read.
            menuAt(0)->actions().last()->trigger();
            store = readFile(storePath);
        } else {
            // Should the program not end, the guard ends the loop with a code of its own.
            QObject guard;
            QTimer::singleShot(5000, &guard, [] { QCoreApplication::exit(99); });
            QTimer::singleShot(0, window.data(), [&] {
                window->close();
                store = readFile(storePath); // by the way out itself, not some later event
            });
            QCOMPARE(QCoreApplication::exec(), 0);
        }
        QCOMPARE(store.contains("Geometry"), !throughExit);
        const QVariant stored = sql(nameFileDB, {QStringLiteral("SELECT Str FROM TypeText WHERE id = %1").arg(id)});
        QVERIFY2(stored.toString().startsWith(QStringLiteral("edited ")), qPrintable(stored.toString()));
        stop();

        start();
        QVERIFY(QTest::qWaitForWindowExposed(window.data()));
        QCOMPARE(window->geometry(), throughExit ? QRect(window->geometry().topLeft(), QSize(800, 500)) : geometry);
        QCOMPARE(window->findChild<QToolBar *>(QStringLiteral("Edit Tool Bar"))->isVisible(), throughExit);
        header = find()->table->horizontalHeader();
        QCOMPARE(header->visualIndex(column(PhraseStore::KeyWord)) < header->visualIndex(column(PhraseStore::Str)),
                 !throughExit);
        QCOMPARE(keyLayoutTable().contains(0x00DF), !throughExit);
        QCOMPARE(menuAt(0)->title(), throughExit ? QStringLiteral("&File") : QStringLiteral("&Файл"));
        QCOMPARE(languageEntries(),
                 throughExit ? QStringLiteral("&1 Русский|*&2 English") : QStringLiteral("*&1 Русский|&2 English"));
    }

    // A single language offers no choice, and only the program's own files count.
    void languageMenu_singleLanguage()
    {
        if (!installTranslations(QStringLiteral("Quillary_ru.qm=Quillary_ru.qm QtBase_en.qm=Quillary_en.qm")))
            QSKIP("no compiled translations");
        start();
        QCOMPARE(languageEntries(), QStringLiteral("&1 Русский"));
        QCOMPARE(menuAt(0)->title(), QStringLiteral("&Файл"));
        QVERIFY(menuAt(3)->actions().last()->menu() != languageMenu());
        QVERIFY(!languageMenu()->isEnabled());
    }

    void fileCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("existing");  // phrases in the file chosen; -1 when there is none
        QTest::addColumn<QString>("spoil"); // SQL run on that file, "backup" or "template"
        QTest::addColumn<QString>("error"); // pattern of the whole text, <path> the file chosen; empty: switched
        const QString unable = QStringLiteral("Unable to open the base - <path>: ");
        QTest::newRow("open") << "open" << 3 << QString() << QString();
        QTest::newRow("open, no phrase table") << "open" << 3 << "ALTER TABLE TypeText RENAME TO Elsewhere"
                                               << unable + QStringLiteral("table not found\\.");
        QTest::newRow("open, a column missing")
            << "open" << 3 << "ALTER TABLE TypeText DROP COLUMN HotKey"
            << unable + QStringLiteral("the phrase table lacks the columns HotKey\\.");
        QTest::newRow("new") << "newDB" << -1 << QString() << QString();
        QTest::newRow("new, template unreadable") << "newDB" << -1 << "template" << unable + QStringLiteral(".+");
        QTest::newRow("save as over a file") << "saveAs" << 1 << QString() << QString();
        QTest::newRow("save as, backup blocked")
            << "saveAs" << 1 << "backup" << QStringLiteral("Unable to save the base - <path>\n.+");
    }

    // Open, New and Save As switch to the file chosen, keeping the user's column layout; a file that
    // cannot be used is named in the error, and the file open before stays open.
    void fileCommands()
    {
        QFETCH(QString, command);
        QFETCH(int, existing);
        QFETCH(QString, spoil);
        QFETCH(QString, error);
        const bool switched = error.isEmpty();
        start();
        const QString before = nameFileDB;
        const int starter = listedRows();
        const QString target = work->filePath(QStringLiteral("letters.db"));
        if (existing >= 0 && QFile::copy(programFile(QStringLiteral("new.db")), target))
            sql(target, {QStringLiteral("INSERT INTO TypeText (Str) VALUES ") +
                             QStringLiteral("('a'),").repeated(existing).chopped(1),
                         spoil});
        const QByteArray targetBytes = readFile(target);
        if (spoil == QLatin1String("backup"))
            QVERIFY(QDir(work->path()).mkpath(QStringLiteral("letters.bak/inside")));
        const QString templ = programFile(QStringLiteral("new.db"));
        const QByteArray templBytes = readFile(templ);
        if (spoil == QLatin1String("template"))
            QVERIFY(writeFile(templ, QByteArray("not a database\n").repeated(100)));
        QHeaderView *header = find()->table->horizontalHeader();
        header->moveSection(header->visualIndex(column(PhraseStore::Rating)), 0);
        const QByteArray layout = header->saveState();

        dialogs->chooseFile(existing >= 0 ? target : target.chopped(3)); // the program adds ".db"
        if (existing >= 0 && command != QLatin1String("open"))
            dialogs->answerMessage(QMessageBox::Yes); // the file dialog asks before replacing
        if (!error.isEmpty())
            dialogs->answerMessage();
        QVERIFY(QMetaObject::invokeMethod(window.data(), command.toLatin1().constData()));
        QVERIFY(writeFile(templ, templBytes));

        error.replace(QStringLiteral("<path>"), QRegularExpression::escape(QDir::toNativeSeparators(target)));
        const QString shown = dialogs->titles.contains(QStringLiteral("Error")) ? dialogs->texts.last() : QString();
        QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(error)).match(shown).hasMatch(),
                 qPrintable(shown));
        QCOMPARE(nameFileDB, switched ? target : before);
        QCOMPARE(window->windowTitle(), QStringLiteral("Quillary - ") + nameFileDB);
        QCOMPARE(listedRows(), switched && command != QLatin1String("saveAs") ? qMax(existing, 0) : starter);
        QCOMPARE(header->saveState(), layout);
        if (existing >= 0 && !switched) // a file the program did not switch to is left as it was
            QCOMPARE(readFile(target), targetBytes);
        else if (existing >= 0 && command != QLatin1String("open")) // a replaced file is kept as the backup
            QCOMPARE(rowsIn(work->filePath(QStringLiteral("letters.bak"))), existing);
    }

    void exportThenImport_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<int>("replace");  // the answer about an older file under the completed name; 0: none there
        QTest::addColumn<QString>("into"); // the database imported into: empty for the open one, "cancel" for none
        QTest::newRow("txt into a new database") << "*.txt" << 0 << "fresh.db";
        QTest::newRow("ini into the open database") << "*.ini" << 0 << QString();
        QTest::newRow("older file kept") << "*.txt" << int(QMessageBox::No) << QString();
        QTest::newRow("older file replaced, new database cancelled") << "*.ini" << int(QMessageBox::Yes) << "cancel";
    }

    // What Export writes of the rows selected, Import reads back in; an older file under the completed name is
    // kept unless confirmed.
    void exportThenImport()
    {
        QFETCH(QString, filter);
        QFETCH(int, replace);
        QFETCH(QString, into);
        start();
        const QString open = nameFileDB;
        const int before = rowsIn(open), phrases = 2;
        find()->table->selectionModel()->select(QItemSelection(cell(0), cell(phrases - 1)),
                                                QItemSelectionModel::Select);
        const QString file = work->filePath(QStringLiteral("out.") + filter.mid(2));
        if (replace)
            QVERIFY(writeFile(file, "precious"));
        dialogs->chooseFile(work->filePath(QStringLiteral("out")), filter);
        if (replace)
            dialogs->answerMessage(QMessageBox::StandardButton(replace));
        window->exportDB();
        QCOMPARE(readFile(file) == "precious", replace == QMessageBox::No);
        if (replace == QMessageBox::No)
            return;
        QCOMPARE(readFile(file).startsWith("[Row0]"), filter == QLatin1String("*.ini"));
        QCOMPARE(field(1)->text(), QStringLiteral("%1 phrase(s) have been exported.").arg(phrases));

        dialogs->chooseFile(file);
        dialogs->answerMessage(into.isEmpty() ? QMessageBox::No : QMessageBox::Yes); // to "Create a new database?"
        if (!into.isEmpty())
            into == QLatin1String("cancel") ? dialogs->expect(DialogDriver::cancel)
                                            : dialogs->chooseFile(work->filePath(into));
        window->importDB();
        const int added = into == QLatin1String("cancel") ? 0 : phrases;
        const bool fresh = added && !into.isEmpty();
        QCOMPARE(nameFileDB, fresh ? work->filePath(into) : open);
        QCOMPARE(rowsIn(open), fresh ? before : before + added);
        QCOMPARE(rowsIn(nameFileDB), fresh ? added : before + added);
        QCOMPARE(listedRows(), rowsIn(nameFileDB));
        if (added)
            QCOMPARE(field(1)->text(), QStringLiteral("%1 phrase(s) have been imported.").arg(added));
    }

    // Vertical Windows puts the docks side by side, Horizontal Windows one above the other, whatever they were.
    void windowCommands_arrangeDocks()
    {
        start();
        QVERIFY(QTest::qWaitForWindowExposed(window.data()));
        QDockWidget *find = window->browser(), *edit = window->phraseEditor();
        window->tabifyDockWidget(find, edit);
        menuAt(3)->actions().at(0)->trigger(); // Vertical Windows
        QTRY_VERIFY(find->isVisible());
        QVERIFY(edit->isVisible());
        QTRY_COMPARE(edit->y(), find->y());
        QTRY_VERIFY(edit->x() > find->x());
        edit->setFloating(true);
        find->toggleViewAction()->trigger();
        menuAt(3)->actions().at(1)->trigger(); // Horizontal Windows
        QTRY_VERIFY(find->isVisible());
        QVERIFY(!edit->isFloating());
        QTRY_COMPARE(edit->x(), find->x());
        QTRY_VERIFY(edit->y() > find->y());
    }

    void clipboardChange_recomputesDockActions_data()
    {
        QTest::addColumn<bool>("inTable"); // else in the editor; in the table Ctrl+C changes the clipboard
        QTest::newRow("table") << true;
        QTest::newRow("editor") << false;
    }

    // A clipboard change sets both docks' actions anew for where the focus is; Ctrl+C copies there, a
    // phrase with its use counted in the file.
    void clipboardChange_recomputesDockActions()
    {
        QFETCH(bool, inTable);
        start();
        QVERIFY(QTest::qWaitForWindowActive(window.data()));
        TypeEdit *edit = window->phraseEditor();
        find()->table->setCurrentIndex(cell(1));
        const QString uses = QStringLiteral("SELECT Frequency FROM TypeText WHERE id = %1")
                                 .arg(find()->model->value(1, PhraseStore::Id).toInt());
        const int before = sql(nameFileDB, {uses}).toInt();
        // A selection keeps the editor's Copy enabled after the focus left: both docks copy on Ctrl+C.
        edit->editor->setFocus();
        edit->editor->selectAll();
        QWidget *target = inTable ? static_cast<QWidget *>(find()->table) : edit->editor;
        target->setFocus();
        QTRY_VERIFY(target->hasFocus());
        QVERIFY(edit->copyAction->isEnabled());
        // Every action in the wrong state, so that only a recomputation sets it right.
        find()->pastePhraseAction->setEnabled(!inTable);
        edit->pasteAction->setEnabled(inTable);
        edit->boldAction->setEnabled(inTable);
        find()->copyPhraseAction->setText(QStringLiteral("stale"));
        QTest::keyClick(target, Qt::Key_C, Qt::ControlModifier);
        if (!inTable)
            QApplication::clipboard()->setText(QStringLiteral("from another program"));
        QCOMPARE(find()->pastePhraseAction->isEnabled(), inTable);
        QCOMPARE(edit->pasteAction->isEnabled(), !inTable);
        QCOMPARE(find()->copyPhraseAction->text(), QStringLiteral("Copy Phrase"));
        QCOMPARE(edit->boldAction->isEnabled(), !inTable);
        QCOMPARE(QApplication::clipboard()->text() == cell(1).data().toString(), inTable);
        QCOMPARE(sql(nameFileDB, {uses}).toInt(), before + int(inTable));
    }

    // The commands without a window list phrases in the order the window shows them after a restart, by the
    // header clicked last; a limit takes the first of them.
    void commandLine_listsInTableOrder()
    {
        start();
        find()->table->sortByColumn(column(PhraseStore::Rating), Qt::AscendingOrder);
        window->close();
        stop();
        start();
        QStringList shown;
        for (int row = 0; row < 5; ++row)
            shown << find()->model->value(row, PhraseStore::Id).toString();
        stop();
        QBuffer out; // and errors, which then fail the comparison
        out.open(QIODevice::ReadWrite);
        QCOMPARE(CommandRunner(&out, &out)
                     .run(CommandLine::parse({QStringLiteral("quillary"), QStringLiteral("--list"),
                                              QStringLiteral("--limit"), QStringLiteral("5")})),
                 0);
        QStringList listed;
        for (const QByteArray &line : out.data().trimmed().split('\n'))
            listed << QString::fromUtf8(line.left(line.indexOf('\t')));
        QCOMPARE(listed, shown);
    }

    // A second start while the first is still building its window hands its search over once the window is up,
    // instead of giving up and starting one more copy; a third copy finds the name taken.
    void summonChannel_holdsRequestUntilServed()
    {
        SummonChannel first;
        QVERIFY(first.listen());
        QVERIFY(!SummonChannel().listen());
        QSignalSpy summoned(&first, &SummonChannel::summoned);
        std::atomic<bool> taken{false};
        QScopedPointer<QThread> sender(
            QThread::create([&taken] { taken = SummonChannel::sendToRunningCopy(QStringLiteral("Ёлка\tKIND")); }));
        sender->start();
        QTest::qWait(300); // the window being built, with its events processed
        QVERIFY(summoned.isEmpty());
        QVERIFY(!sender->isFinished());
        first.serve();
        QTRY_VERIFY(sender->isFinished());
        QVERIFY(taken);
        QCOMPARE(summoned.value(0).value(0).toString(), QStringLiteral("Ёлка\tKIND"));
    }

    void openFile_followsItsPath_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("followed"); // else the phrases shown are kept for Save As
        QTest::newRow("another phrase file in its place") << "phrases" << true;
        QTest::newRow("removed") << "remove" << false;
        QTest::newRow("replaced by a file that is no database") << "garbage" << false;
    }

    // The window shows the file its title names: another one put at the path is opened in
    // its place; a removed file leaves its phrases on screen, read-only, for Save As to write.
    void openFile_followsItsPath()
    {
        QFETCH(QString, change);
        QFETCH(bool, followed);
        start();
        const QString path = nameFileDB;
        const int starter = listedRows();
        find()->table->setCurrentIndex(cell(starter - 1));
        QVERIFY(QFile::remove(path));
        if (change == QLatin1String("phrases")) {
            QVERIFY(QFile::copy(programFile(QStringLiteral("new.db")), path));
            sql(path, {QStringLiteral("INSERT INTO TypeText (Str) VALUES ('from the other file')")});
        } else if (change == QLatin1String("garbage")) {
            QVERIFY(writeFile(path, QByteArray("not a database\n").repeated(100)));
        }

        if (!followed)
            dialogs->answerMessage();
        find()->watcher->period();
        QTRY_VERIFY(dialogs->done());
        QCoreApplication::processEvents();
        QCOMPARE(dialogs->titles, followed ? QStringList() : QStringList{QStringLiteral("Warning")});
        QCOMPARE(listedRows(), followed ? 1 : starter);
        QCOMPARE(window->windowTitle(),
                 QStringLiteral("Quillary - ") + path + (followed ? QString() : QStringLiteral(" [read-only]")));
        // The cursor stays where it was, moved up onto the last phrase the new file has.
        QCOMPARE(find()->table->currentIndex().row(), listedRows() - 1);
        if (followed) {
            QCOMPARE(find()->model->value(0, PhraseStore::Str).toString(), QStringLiteral("from the other file"));
            return;
        }
        QVERIFY(dialogs->texts.value(0).contains(QDir::toNativeSeparators(path)));
        const QString rescued = work->filePath(QStringLiteral("rescued.db"));
        dialogs->chooseFile(rescued);
        window->saveAs();
        QCOMPARE(rowsIn(rescued), starter);
        QCOMPARE(nameFileDB, rescued);
        QCOMPARE(window->windowTitle(), QStringLiteral("Quillary - ") + rescued);
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
