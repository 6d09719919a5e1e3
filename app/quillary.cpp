#include "app/quillary.h"

#include "app/abouttext.h"
#include "app/globals.h"
#include "app/help.h"
#include "app/theme.h"
#include "browser/phrasemodel.h"
#include "browser/sqltable.h"
#include "browser/typefind.h"
#include "db/databasefile.h"
#include "db/phraseconnection.h"
#include "db/phrasestore.h"
#include "db/serveraddress.h"
#include "db/settingskeys.h"
#include "db/typewatch.h"
#include "editor/htmledit.h"
#include "editor/typeedit.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
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
    if (databaseFile.isEmpty())
        openStoredDatabase();
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

    settings->beginGroup(SettingsKeys::group());
    language = settings->value(SettingsKeys::language(), QString()).toString();
    nameFileDB = startupDatabase(settings->value(SettingsKeys::databaseFile()).toString(), appPath);
    nameIni = settings->value(SettingsKeys::exchangeFile(), QString()).toString();
}

void Quillary::restoreWindow()
{
    const QByteArray geometry = settings->value(SettingsKeys::geometry(), QByteArray()).toByteArray();
    const QByteArray state = settings->value(SettingsKeys::state(), QByteArray()).toByteArray();
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

void Quillary::writeSettings()
{
    settings->beginGroup(SettingsKeys::group());
    const QByteArray geometry = saveGeometry();
    const QByteArray state = saveState(0);
    settings->setValue(SettingsKeys::geometry(), geometry);
    settings->setValue(SettingsKeys::state(), state);
    settings->setValue(SettingsKeys::language(), language);
    // A file opened from the command line is for that run only.
    settings->setValue(SettingsKeys::databaseFile(), withoutPassword(nameFileDB == runFile ? storedFile : nameFileDB));
    settings->setValue(SettingsKeys::exchangeFile(), nameIni);
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
    connectAction = new QAction(this);
    connect(connectAction, &QAction::triggered, this, &Quillary::connectServer);
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
    fileMenu->addAction(connectAction);
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

    box.setFixedSize(500, 300);
    box.setStyleSheet(
        QStringLiteral("background-image: url(:/images/about.png); background-position: bottom right; color:#030102 "));
    auto *label = new QLabel(aboutText(language));
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

// Start-up ----------------------------------------------------------------------

void Quillary::closeSplash()
{
    if (splash) {
        splash->finish(this);
        delete splash;
        splash = nullptr;
    }
}
