#include "app/quillary.h"

#include "app/busyscope.h"
#include "app/globals.h"
#include "app/help.h"
#include "app/theme.h"
#include "browser/phrasemodel.h"
#include "browser/sqltable.h"
#include "browser/typefind.h"
#include "db/databasefile.h"
#include "db/phrasestore.h"
#include "db/tracecategories.h"
#include "db/typewatch.h"
#include "editor/htmledit.h"
#include "editor/typeedit.h"
#include "exchange/inireader.h"
#include "exchange/phrasefilenames.h"
#include "exchange/txtreader.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QBoxLayout>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDebug>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QSettings>
#include <QSplashScreen>
#include <QSqlDatabase>
#include <QStatusBar>
#include <QToolBar>
#include <QTranslator>

Quillary::Quillary(const QString &databaseFile, const std::optional<QString> &search)
{
    qApp->setStyleSheet(::styleSheet(systemStyleSheet(QApplication::palette())));
    readSettings();
    helpCreated = false;
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    PhraseStore::configure(db);
    if (databaseFile.isEmpty())
        openDatabaseFile();
    else
        openRunFile(databaseFile);
    createActions();
    createDocks();
    // Titled before it first shows: some X tools read only the name the window was mapped with.
    updateWindowTitle();
    createToolBars();
    createMenus();
    createStatusBar();
    restoreWindow();
    makeConnections();
    languageMenu->setEnabled(languageCount > 1);
    // Searched before the window shows, so that no key pressed meanwhile meets the phrases unsearched.
    if (search)
        typeFind->findText(*search);
    show();
    closeSplash();
    if (!search)
        typeFind->showCurrent();
}

Quillary::~Quillary() = default;

// Settings ------------------------------------------------------------------

void Quillary::readSettings()
{
    settings = new QSettings(organizationName, applicationName);
    appPath = programDataFolder();
    translationsPath = appPath + QStringLiteral("/translations");

    appTranslator = new QTranslator(this);
    qtTranslator = new QTranslator(this);
    QCoreApplication::installTranslator(appTranslator);
    QCoreApplication::installTranslator(qtTranslator);

    settings->beginGroup(QStringLiteral("/Settings"));
    language = settings->value(QStringLiteral("/Language"), QString()).toString();
    nameFileDB = startupDatabase(settings->value(QStringLiteral("/NameFileDB")).toString(), appPath);
    nameIni = settings->value(QStringLiteral("/NameIni"), QString()).toString();
}

void Quillary::openRunFile(const QString &databaseFile)
{
    storedFile = nameFileDB;
    runFile = QFileInfo(databaseFile).absoluteFilePath();
    nameFileDB = runFile;
    // SQLite would make an empty database of a name that leads nowhere.
    if (QFileInfo(runFile).isFile()) {
        if (openDatabaseFile())
            return;
    } else {
        closeSplash();
        showError(QObject::tr("Unable to open the base - ") +
                  QObject::tr("there is no file %1.").arg(QDir::toNativeSeparators(runFile)));
    }
    nameFileDB = storedFile;
    openDatabaseFile();
}

void Quillary::restoreWindow()
{
    const QByteArray geometry = settings->value(QStringLiteral("/Geometry"), QByteArray()).toByteArray();
    const QByteArray state = settings->value(QStringLiteral("/State"), QByteArray()).toByteArray();
    if (geometry.isEmpty()) {
        resize(800, 500);
        typeFind->loadTableSettings(settings, true);
    } else {
        typeFind->loadTableSettings(settings, false);
        restoreGeometry(geometry);
        show();
        // Keys pressed meanwhile wait for the finished window, with its start-up search done.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        restoreState(state, 0);
    }
    settings->endGroup();
    loadTranslators();
    retranslate();
}

void Quillary::loadTranslators()
{
    appTranslator->load(QStringLiteral("Quillary_") + language, translationsPath, QString(), QString());
    qtTranslator->load(QStringLiteral("QtBase_") + language, translationsPath, QString(), QString());
}

void Quillary::writeSettings()
{
    settings->beginGroup(QStringLiteral("/Settings"));
    const QByteArray geometry = saveGeometry();
    const QByteArray state = saveState(0);
    settings->setValue(QStringLiteral("/Geometry"), geometry);
    settings->setValue(QStringLiteral("/State"), state);
    settings->setValue(QStringLiteral("/Language"), language);
    // A file opened from the command line is for that run only.
    settings->setValue(QStringLiteral("/NameFileDB"), nameFileDB == runFile ? storedFile : nameFileDB);
    settings->setValue(QStringLiteral("/NameIni"), nameIni);
    typeFind->saveTableSettings(settings);
    settings->endGroup();
}

void Quillary::storePendingEdit()
{
    // The editor stores a changed phrase when it loses the focus; leaving the
    // program must not skip that.
    if (typeEdit->editor->hasFocus())
        typeEdit->editor->clearFocus();
}

void Quillary::summon(const QString &text)
{
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
    typeFind->findText(text);
}

void Quillary::exitProgram()
{
    storePendingEdit();
    typeFind->askConflicts();
    QCoreApplication::quit();
}

void Quillary::closeEvent(QCloseEvent *event)
{
    storePendingEdit();
    // An edit the file no longer fits is put to the user before the window goes.
    typeFind->askConflicts();
    writeSettings();
    QCoreApplication::processEvents();
    event->accept();
    // The help window has no parent; left open, it would keep the program running.
    if (help)
        help->close();
}

// Building the window ---------------------------------------------------------

void Quillary::createActions()
{
    openAction = new QAction(QIcon(QStringLiteral(":/images/open.png")), QString(), this);
    connect(openAction, &QAction::triggered, this, &Quillary::open);
    newAction = new QAction(QIcon(QStringLiteral(":/images/new.png")), QString(), this);
    connect(newAction, &QAction::triggered, this, &Quillary::newDB);
    saveAsAction = new QAction(QIcon(QStringLiteral(":/images/save.png")), QString(), this);
    connect(saveAsAction, &QAction::triggered, this, &Quillary::saveAs);
    exportAction = new QAction(this);
    connect(exportAction, &QAction::triggered, this, &Quillary::exportDB);
    importAction = new QAction(this);
    connect(importAction, &QAction::triggered, this, &Quillary::importDB);
    exitAction = new QAction(this);
    verticalAction = new QAction(this);
    connect(verticalAction, &QAction::triggered, this, &Quillary::verticalSplitWindows);
    horizontalAction = new QAction(this);
    connect(horizontalAction, &QAction::triggered, this, &Quillary::horizontalSplitWindows);
    contentAction = new QAction(this);
    connect(contentAction, &QAction::triggered, this, &Quillary::helpIndex);
    startedAction = new QAction(this);
    connect(startedAction, &QAction::triggered, this, &Quillary::helpStarted);
    supportAction = new QAction(this);
    connect(supportAction, &QAction::triggered, this, &Quillary::helpSupport);
    aboutAction = new QAction(this);
    connect(aboutAction, &QAction::triggered, this, &Quillary::about);
}

void Quillary::createDocks()
{
    const QDockWidget::DockWidgetFeatures features =
        QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable;
    typeFind = new TypeFind(this);
    typeFind->setFeatures(features);
    addDockWidget(Qt::TopDockWidgetArea, typeFind);
    typeEdit = new TypeEdit(this);
    typeEdit->setFeatures(features);
    addDockWidget(Qt::BottomDockWidgetArea, typeEdit);
    typeEdit->setReadOnly(typeFind->model->isReadOnly());
}

void Quillary::bindBrowser()
{
    databaseGone = false;
    typeFind->setupModel();
    typeEdit->setReadOnly(typeFind->model->isReadOnly());
    updateWindowTitle();
}

void Quillary::createToolBars()
{
    toolBar = addToolBar(QStringLiteral("ToolBar"));
    toolBar->setObjectName(QStringLiteral("ToolBar"));
    openAction->setPriority(QAction::LowPriority);
    newAction->setPriority(QAction::LowPriority);
    saveAsAction->setPriority(QAction::LowPriority);
    toolBar->addAction(openAction);
    toolBar->addAction(newAction);
    toolBar->addAction(saveAsAction);
    toolBar->addSeparator();
    toolBar->addAction(typeFind->appendPhraseAction);
    toolBar->addAction(typeFind->deletePhraseAction);
    toolBar->addAction(typeFind->copyPhraseAction);
    toolBar->addAction(typeFind->copyCellsAction);
    toolBar->addAction(typeFind->pastePhraseAction);

    editToolBar = addToolBar(QStringLiteral("EditToolBar"));
    editToolBar->setObjectName(QStringLiteral("Edit Tool Bar"));
    editToolBar->addActions({typeEdit->undoAction, typeEdit->redoAction, typeEdit->cutAction, typeEdit->copyAction,
                             typeEdit->pasteAction, typeEdit->boldAction, typeEdit->italicAction,
                             typeEdit->underlineAction, typeEdit->alignLeftAction, typeEdit->alignCenterAction,
                             typeEdit->alignRightAction, typeEdit->justifyAction, typeEdit->colorAction});

    fontToolBar = addToolBar(QStringLiteral("FontToolBar"));
    fontToolBar->setObjectName(QStringLiteral("FontToolBar"));
    fontToolBar->addWidget(typeEdit->fontCombo);
    fontToolBar->addWidget(typeEdit->comboSize);
}

void Quillary::createMenus()
{
    fileMenu = menuBar()->addMenu(QObject::tr("File"));
    fileMenu->addAction(openAction);
    fileMenu->addAction(newAction);
    fileMenu->addAction(saveAsAction);
    fileMenu->addSeparator();
    fileMenu->addAction(exportAction);
    fileMenu->addAction(importAction);
    fileMenu->addSeparator();
    fileMenu->addAction(exitAction);

    phraseMenu = menuBar()->addMenu(QObject::tr("Phrase"));
    phraseMenu->addAction(typeFind->copyPhraseAction);
    phraseMenu->addAction(typeFind->copyCellsAction);
    phraseMenu->addAction(typeFind->pastePhraseAction);
    phraseMenu->addAction(typeFind->appendPhraseAction);
    phraseMenu->addAction(typeFind->deletePhraseAction);

    editMenu = menuBar()->addMenu(QStringLiteral("Edit"));
    editMenu->addAction(typeEdit->undoAction);
    editMenu->addAction(typeEdit->redoAction);
    editMenu->addSeparator();
    editMenu->addAction(typeEdit->cutAction);
    editMenu->addAction(typeEdit->copyAction);
    editMenu->addAction(typeEdit->pasteAction);
    editMenu->addSeparator();
    editMenu->addActions({typeEdit->boldAction, typeEdit->italicAction, typeEdit->underlineAction,
                          typeEdit->alignLeftAction, typeEdit->alignCenterAction, typeEdit->alignRightAction,
                          typeEdit->justifyAction, typeEdit->colorAction});

    windowMenu = menuBar()->addMenu(QStringLiteral("Window"));
    windowMenu->addAction(verticalAction);
    windowMenu->addAction(horizontalAction);
    windowMenu->addSeparator();
    windowMenu->addAction(typeFind->toggleViewAction());
    windowMenu->addAction(typeEdit->toggleViewAction());
    windowMenu->addSeparator();
    windowMenu->addAction(toolBar->toggleViewAction());
    windowMenu->addAction(editToolBar->toggleViewAction());
    windowMenu->addAction(fontToolBar->toggleViewAction());
    createLanguageMenu();

    helpMenu = menuBar()->addMenu(QObject::tr("&Help"));
    orderAction = new QAction(this);
    connect(orderAction, &QAction::triggered, this, &Quillary::helpOrder);
    helpMenu->addAction(contentAction);
    helpMenu->addSeparator();
    helpMenu->addAction(startedAction);
    helpMenu->addAction(supportAction);
    helpMenu->addAction(orderAction);
    helpMenu->addSeparator();
    helpMenu->addAction(aboutAction);
}

void Quillary::createLanguageMenu()
{
    languageMenu = new QMenu(QObject::tr("Language"), windowMenu);
    languageGroup = new QActionGroup(this);
    connect(languageGroup, &QActionGroup::triggered, this, &Quillary::switchLanguage);

    const QStringList files =
        QDir(translationsPath).entryList({QStringLiteral("Quillary_*.qm")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    languageCount = files.size();
    QString chosen = language;
    bool found = false;
    int n = 0;
    for (const QString &file : files) {
        ++n;
        const int first = file.indexOf(QLatin1Char('_'));
        const int last = file.lastIndexOf(QLatin1Char('.'));
        const QString code = file.mid(first + 1, last - first - 1);

        QTranslator translator;
        translator.load(file, translationsPath);
        const QString name = translator.translate("QObject", "WorkLanguage");

        auto *action = new QAction(QObject::tr("&%1 %2").arg(n).arg(name), this);
        action->setCheckable(true);
        action->setData(code);
        languageMenu->addAction(action);
        languageGroup->addAction(action);
        if ((language.isEmpty() && name == QStringLiteral("English")) || language == code) {
            action->setChecked(true);
            found = true;
            if (language.isEmpty())
                chosen = code;
        }
        if (n == files.size() && (chosen.isEmpty() || !found))
            chosen = code;
    }
    // Without any file there is no language to keep, not even a stored one.
    language = files.isEmpty() ? QString() : chosen;
    if (languageCount > 1) {
        windowMenu->addSeparator();
        windowMenu->addMenu(languageMenu);
    }
}

void Quillary::createStatusBar()
{
    auto *frame = new QFrame;
    auto *layout = new QHBoxLayout;
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    statusLabel1 = new QLabel(QString(), this);
    statusLabel2 = new QLabel(QString(), this);
    for (QLabel *label : {statusLabel1, statusLabel2}) {
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setLineWidth(1);
        layout->addWidget(label, 0);
    }
    frame->setLayout(layout);
    statusBar()->addPermanentWidget(frame, 1);
    progressBar = new QProgressBar(this);
    progressBar->setMaximumWidth(200);
    progressBar->setTextVisible(false);
    progressBar->hide();
    statusBar()->addPermanentWidget(progressBar);
    typeFind->progressBar = progressBar;
}

void Quillary::makeConnections()
{
    connect(exitAction, &QAction::triggered, this, &Quillary::exitProgram);
    connect(statusBar(), &QStatusBar::messageChanged, this, &Quillary::setStatusBar1);
    connect(typeFind, &TypeFind::setMessage, this, &Quillary::setStatusBar2);
    connect(typeFind, &TypeFind::setHtml, typeEdit, &TypeEdit::setHtml);
    connect(typeFind, &TypeFind::clearHtml, typeEdit, &TypeEdit::clearEdit);
    connect(typeEdit->editor, &HtmlEdit::writeHtml, typeFind, &TypeFind::writeHtml);
    connect(typeFind, &TypeFind::htmlStored, typeEdit->editor, &HtmlEdit::writeResult);
    connect(typeEdit->editor, &HtmlEdit::enteredUnchanged, typeFind, &TypeFind::refreshEditor);
    // Queued: the watcher's check has ended before the file is switched or a box is shown.
    connect(typeFind->watcher, &TypeWatch::fileReplaced, this, &Quillary::followReplacedFile, Qt::QueuedConnection);
    connect(typeFind->watcher, &TypeWatch::fileRemoved, this, &Quillary::databaseRemoved, Qt::QueuedConnection);
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &Quillary::clipboardDataChanged);
    typeEdit->connectSignals();
    typeFind->connectSignals();
}

void Quillary::retranslate()
{
    toolBar->setWindowTitle(QObject::tr("Toolbar"));
    editToolBar->setWindowTitle(QObject::tr("Edit toolbar"));
    fontToolBar->setWindowTitle(QObject::tr("Font toolbar"));

    fileMenu->setTitle(QObject::tr("&File"));
    openAction->setText(QObject::tr("Open Database..."));
    openAction->setStatusTip(QObject::tr("Open Database..."));
    newAction->setText(QObject::tr("Create a database..."));
    newAction->setStatusTip(QObject::tr("Create a database..."));
    // The dots are added after translation, so a translation without them keeps them.
    saveAsAction->setText(QObject::tr("Save Database As") + QStringLiteral("..."));
    saveAsAction->setStatusTip(QObject::tr("Save Database As") + QStringLiteral("..."));
    exportAction->setText(QObject::tr("Export") + QStringLiteral("..."));
    exportAction->setStatusTip(QObject::tr("Save phrases to a text file"));
    importAction->setText(QObject::tr("Import") + QStringLiteral("..."));
    importAction->setStatusTip(QObject::tr("Loading phrases from a file and adding to current database"));

    editMenu->setTitle(QObject::tr("Edit"));
    editMenu->setStatusTip(QObject::tr("Edit"));
    windowMenu->setTitle(QObject::tr("Window"));
    windowMenu->setStatusTip(QObject::tr("Window"));
    phraseMenu->setTitle(QObject::tr("Phrase"));
    phraseMenu->setStatusTip(QObject::tr("Phrase"));
    helpMenu->setTitle(QObject::tr("&Help"));

    exitAction->setText(QObject::tr("E&xit"));
    exitAction->setShortcuts(QKeySequence::Quit);
    exitAction->setStatusTip(QObject::tr("Exit the application"));

    languageMenu->setTitle(QObject::tr("Language"));
    languageMenu->setStatusTip(QObject::tr("Language Settings"));

    orderAction->setText(QObject::tr("Ordering Information"));
    orderAction->setStatusTip(QObject::tr("Ordering Information"));
    contentAction->setText(QObject::tr("Content"));
    contentAction->setStatusTip(QObject::tr("Displays content of Help"));
    contentAction->setShortcuts(QKeySequence::HelpContents);
    startedAction->setText(QObject::tr("Getting Started"));
    startedAction->setStatusTip(QObject::tr("Getting Started"));
    supportAction->setText(QObject::tr("Technical Support"));
    supportAction->setStatusTip(QObject::tr("Technical Support"));
    aboutAction->setText(QObject::tr("&About Quillary"));
    aboutAction->setStatusTip(QObject::tr("Show the About box"));

    verticalAction->setText(QObject::tr("Vertical Windows"));
    verticalAction->setStatusTip(QObject::tr("Vertical layout of the application windows"));
    horizontalAction->setText(QObject::tr("Horizontal Windows"));
    horizontalAction->setStatusTip(QObject::tr("Horizontal layout of the application windows"));

    typeFind->retranslate();
    typeEdit->retranslate();
    updateWindowTitle();
    if (helpCreated)
        help->retranslate(language);
}

void Quillary::switchLanguage(QAction *action)
{
    language = action->data().toString();
    loadTranslators();
    retranslate();
}

// Help and About ------------------------------------------------------------------

void Quillary::helpPage(const QString &page)
{
    if (!helpCreated) {
        help = new Help(appPath);
        helpCreated = true;
    }
    help->setPage(language, page);
    help->show();
    help->raise();
}

void Quillary::helpIndex()
{
    helpPage(QStringLiteral("index.htm"));
}

void Quillary::helpStarted()
{
    helpPage(QStringLiteral("20.htm"));
}

void Quillary::helpSupport()
{
    helpPage(QStringLiteral("60.htm"));
}

void Quillary::helpOrder()
{
    helpPage(QStringLiteral("70.htm"));
}

void Quillary::about()
{
    QDialog box(this, Qt::Window | Qt::WindowCloseButtonHint);
    box.setWindowTitle(QObject::tr("About Quillary"));
    auto *layout = new QHBoxLayout;
    layout->setContentsMargins(0, 0, 0, 0);

    const bool russian = language == QStringLiteral("ru");
    const QString webPage =
        russian ? QStringLiteral("https://quillary.example.org/ru/") : QStringLiteral("https://quillary.example.org/");
    const QString supportPage = russian ? QStringLiteral("https://quillary.example.org/ru/support/")
                                        : QStringLiteral("https://quillary.example.org/support/");
    const QString siteName =
        russian ? QStringLiteral("quillary.example.org/ru") : QStringLiteral("quillary.example.org");
    static const QString notice = QStringLiteral("Copyright &copy; 2026 Tamberlane. All rights reserved.");

    box.setFixedSize(500, 300);
    box.setStyleSheet(
        QStringLiteral("background-image: url(:/images/about.png); background-position: bottom right; color:#030102 "));
    const QString support = QObject::tr("Support");
    const QString programPage = QObject::tr("The program web page");
    const QString web = QObject::tr("Web");
    const QString version = QObject::tr("Version");

    const QString text = QStringLiteral("<h1>") + applicationName + QStringLiteral("™</h1>") +
                         QStringLiteral("<p align=\"center\">") + version + QLatin1Char(' ') + appVersion +
                         QStringLiteral("</p>") + QStringLiteral("<table border=\"0\" width=\"100%\">") +
                         QStringLiteral("<tr><td align=\"right\">") + web + QStringLiteral(":</td><td><a href=\"") +
                         webPage + QStringLiteral("\">") + programPage + QStringLiteral("</a></td></tr>") +
                         QStringLiteral("<tr><td align=\"right\">") + support + QStringLiteral(":</td><td><a href=\"") +
                         supportPage + QStringLiteral("\">") + siteName + QStringLiteral("</a></td></tr>") +
                         QStringLiteral("</tr></table>") + QStringLiteral("<p align=\"center\">") + notice +
                         QStringLiteral("</p>");
    auto *label = new QLabel(text);
    label->setWordWrap(true);
    label->setFixedWidth(220);
    label->setOpenExternalLinks(true);
    label->setAlignment(Qt::AlignCenter);
    layout->addStretch();
    layout->addWidget(label);
    box.setLayout(layout);
    box.exec();
}

// Status bar, clipboard and window layout ------------------------------------

void Quillary::setStatusBar1(const QString &str)
{
    statusLabel1->setText(str);
}

void Quillary::setStatusBar2(const QString &str)
{
    statusLabel2->setText(str);
}

void Quillary::clipboardDataChanged()
{
    typeEdit->enableChanged(typeEdit->editor->hasFocus());
    typeFind->enableChanged(typeFind->table->hasFocus());
    typeFind->retranslate();
}

void Quillary::verticalSplitWindows()
{
    typeFind->setVisible(true);
    typeEdit->setVisible(true);
    typeFind->setFloating(false);
    typeEdit->setFloating(false);
    if (!tabifiedDockWidgets(typeFind).isEmpty())
        splitDockWidget(typeFind, typeEdit, Qt::Vertical);
    splitDockWidget(typeFind, typeEdit, Qt::Horizontal);
}

void Quillary::horizontalSplitWindows()
{
    typeFind->setVisible(true);
    typeEdit->setVisible(true);
    typeFind->setFloating(false);
    typeEdit->setFloating(false);
    if (!tabifiedDockWidgets(typeFind).isEmpty())
        splitDockWidget(typeFind, typeEdit, Qt::Horizontal);
    splitDockWidget(typeFind, typeEdit, Qt::Vertical);
}

// Database files ----------------------------------------------------------------

void Quillary::closeSplash()
{
    if (splash) {
        splash->finish(this);
        delete splash;
        splash = nullptr;
    }
}

void Quillary::showError(const QString &text)
{
    QMessageBox::warning(this, QObject::tr("Error"), text, QMessageBox::Ok);
}

bool Quillary::openDatabaseFile()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QSqlDatabase db = QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false);
    QString error;
    const DatabaseCheck check = openPhraseDatabase(db, nameFileDB, &error);
    if (check == DatabaseCheck::Ok) {
        QApplication::restoreOverrideCursor();
        return true;
    }
    closeSplash();
    QApplication::restoreOverrideCursor();
    // The file is named: a message at start-up or after a switch must say which one.
    const QString prefix =
        QObject::tr("Unable to open the base - ") + QDir::toNativeSeparators(nameFileDB) + QStringLiteral(": ");
    if (check == DatabaseCheck::CannotOpen || check == DatabaseCheck::IdNotIntegerKey)
        showError(prefix + error);
    else if (check == DatabaseCheck::MissingColumns)
        showError(prefix + QObject::tr("the phrase table lacks the columns %1.").arg(error));
    else if (!error.isEmpty())
        showError(prefix + error);
    else
        showError(prefix + QObject::tr("table not found."));
    return false;
}

void Quillary::closeDatabase()
{
    QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false).close();
}

void Quillary::updateWindowTitle()
{
    QString title = applicationName;
    if (!nameFileDB.isEmpty())
        title += QStringLiteral(" - ") + nameFileDB;
    // The browser has just probed the file; one probe an opening is enough.
    const QSqlDatabase db = QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false);
    if (!nameFileDB.isEmpty() && db.isOpen() && typeFind->model->isReadOnly())
        title += QObject::tr(" [read-only]");
    setWindowTitle(title);
}

void Quillary::followReplacedFile()
{
    // Checked on a connection of its own first: a file that cannot be used must not take
    // the place of the phrases shown.
    QString error;
    const DatabaseCheck check = checkPhraseDatabase(nameFileDB, &error);
    if (check != DatabaseCheck::Ok) {
        databaseRemoved();
        return;
    }
    const QString path = nameFileDB;
    const QModelIndex current = typeFind->table->currentIndex();
    switchTo(path);
    if (!openDatabaseFile())
        return;
    bindBrowser();
    // The cursor stays where it was, so that Space and the editor go on working at once.
    const int rows = typeFind->model->rowCount();
    if (current.isValid() && rows > 0)
        typeFind->table->setCurrentIndex(typeFind->model->index(qMin(current.row(), rows - 1), current.column()));
    // The table that noticed the change has the focus still: it goes on watching.
    if (typeFind->table->hasFocus())
        typeFind->watcher->start(true);
}

void Quillary::databaseRemoved()
{
    if (databaseGone)
        return;
    databaseGone = true;
    // Writes would fail on a file no longer at its path; the phrases shown stay readable.
    typeFind->model->setReadOnly(true);
    typeFind->appendPhraseAction->setEnabled(false);
    typeEdit->setReadOnly(true);
    updateWindowTitle();
    QMessageBox::warning(this, QObject::tr("Warning"),
                         QObject::tr("The database file %1 is no longer there: it was removed, renamed or replaced "
                                     "by a file that cannot be used.\nThe phrases shown are kept; File > Save "
                                     "Database As writes them to a new file.")
                             .arg(QDir::toNativeSeparators(nameFileDB)));
}

void Quillary::switchTo(const QString &path)
{
    closeDatabase();
    typeFind->stopWatching(nameFileDB);
    nameFileDB = path;
}

void Quillary::open()
{
    const QString oldPath = nameFileDB;
    const QString name = QFileDialog::getOpenFileName(this, QObject::tr("Select Database File"),
                                                      QFileInfo(nameFileDB).path(), QStringLiteral("*.db"));
    if (name.isEmpty())
        return;
    switchTo(name);
    if (openDatabaseFile()) {
        bindBrowser();
        return;
    }
    nameFileDB = oldPath;
    if (openDatabaseFile())
        bindBrowser();
}

bool Quillary::newDB()
{
    const QString oldPath = nameFileDB;
    QString name = QFileDialog::getSaveFileName(this, QObject::tr("Save As A New Database"),
                                                QFileInfo(nameFileDB).path(), QStringLiteral("*.db"));
    if (name.isEmpty())
        return false;
    name = withDbSuffix(name);

    // The open file is released first, so that it can be moved aside when it is the one replaced.
    const bool replacesOpenFile = isSameFile(name, oldPath);
    if (replacesOpenFile)
        switchTo(oldPath);
    if (!copyReplacing(appPath + QStringLiteral("/new.db"), name)) {
        if (replacesOpenFile && openDatabaseFile())
            bindBrowser();
        return false;
    }
    switchTo(name);
    if (openDatabaseFile()) {
        bindBrowser();
        return true;
    }
    // Never leave the program without a database: go back to the file that was open.
    switchTo(oldPath);
    if (openDatabaseFile())
        bindBrowser();
    return false;
}

void Quillary::saveAs()
{
    QString name = QFileDialog::getSaveFileName(this, QObject::tr("Save Database As"), QFileInfo(nameFileDB).path(),
                                                QStringLiteral("*.db"));
    if (name.isEmpty())
        return;
    name = withDbSuffix(name);

    const QString oldPath = nameFileDB;
    QString reason;
    bool copied = false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (databaseGone) {
        // Only the open connection still holds these phrases: they are written from it.
        copied = copyOpenDatabase(QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false), name,
                                  &reason);
        switchTo(oldPath);
    } else {
        switchTo(oldPath);
        // Saving the open file onto itself has nothing to copy.
        copied = isSameFile(name, oldPath) || copyReplacing(oldPath, name, &reason);
    }
    QApplication::restoreOverrideCursor();
    if (!copied) {
        // Reopen the file that was open rather than anything else under the new name.
        showError(QObject::tr("Unable to save the base - ") + QDir::toNativeSeparators(name) + QStringLiteral("\n") +
                  reason);
        if (openDatabaseFile())
            bindBrowser();
        return;
    }
    nameFileDB = name;
    if (openDatabaseFile())
        bindBrowser();
}

// Import and export ---------------------------------------------------------------

QString Quillary::exchangeFolder() const
{
    return QFileInfo(nameIni.isEmpty() ? nameFileDB : nameIni).path();
}

void Quillary::importDB()
{
    const QString chosen =
        QFileDialog::getOpenFileName(this, QObject::tr("Loading phrases from a file and adding to current database"),
                                     exchangeFolder(), QStringLiteral("Text files (*.txt *.ini)"));
    if (chosen.isEmpty())
        return;
    const QMessageBox::StandardButton answer =
        QMessageBox::warning(nullptr, QObject::tr("Warning"), QObject::tr("Create a new database for importing?"),
                             QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer == QMessageBox::Yes && !newDB())
        return;

    const bool ini = isIniImportName(chosen);
    nameIni = ini ? chosen : txtImportName(chosen);
    // The import's own writes must never look like another program's change.
    typeFind->watcher->stop(true);
    if (ini)
        qCDebug(lcImport) << "import start";
    ImportReport report;
    int n = -1;
    {
        const BusyScope busy(progressBar);
        n = ini ? importIni(nameIni, &report, busy.progress()) : importTxt(nameIni, &report, busy.progress());
    }
    if (n >= 0) {
        typeFind->findStart(false);
        statusLabel2->setText(QObject::tr("%n phrase(s) have been imported.", "", n));
    }
    typeFind->watcher->start(true);
    if (ini)
        qCDebug(lcImport) << "import stop";
    if (!report.error.isEmpty())
        showError(report.error);
}

void Quillary::exportDB()
{
    QString filter;
    const QString chosen = QFileDialog::getSaveFileName(nullptr, QObject::tr("Save phrases to a text file"),
                                                        exchangeFolder(), QStringLiteral("*.txt ;; *.ini"), &filter);
    if (chosen.isEmpty())
        return;
    const bool ini = isIniExportFilter(filter);
    const QString name = exportName(chosen, ini);
    // The dialog asked about the name typed; a completed name may hit another file.
    if (name != chosen && QFileInfo::exists(name)) {
        const QMessageBox::StandardButton answer = QMessageBox::warning(
            this, QObject::tr("Warning"),
            QObject::tr("%1 already exists.\nDo you want to replace it?").arg(QDir::toNativeSeparators(name)),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer != QMessageBox::Yes)
            return;
    }
    nameIni = name;
    const BusyScope busy(progressBar);
    if (ini)
        typeFind->exportIni(nameIni, busy.progress());
    else
        typeFind->exportTxt(nameIni, busy.progress());
}
