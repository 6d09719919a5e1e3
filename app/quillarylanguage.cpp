#include "app/globals.h"
#include "app/help.h"
#include "app/quillary.h"
#include "app/translationlist.h"
#include "browser/typefind.h"
#include "editor/typeedit.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QToolBar>

// The window's texts in the language chosen: the language menu, and retranslation.

void Quillary::createLanguageMenu()
{
    languageMenu = new QMenu(QObject::tr("Language"), windowMenu);
    languageGroup = new QActionGroup(this);
    connect(languageGroup, &QActionGroup::triggered, this, &Quillary::switchLanguage);

    const QVector<Translation> translations = translationList(translationsPath);
    languageCount = translations.size();
    int n = 0;
    for (const Translation &translation : translations) {
        auto *action = new QAction(QObject::tr("&%1 %2").arg(++n).arg(translation.name), this);
        action->setCheckable(true);
        action->setData(translation.code);
        languageMenu->addAction(action);
        languageGroup->addAction(action);
        if (isStoredLanguage(translation, language))
            action->setChecked(true);
    }
    language = settledLanguage(translations, language);
    if (languageCount > 1) {
        windowMenu->addSeparator();
        windowMenu->addMenu(languageMenu);
    }
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
    connectAction->setText(QObject::tr("Connect to a server…"));
    connectAction->setStatusTip(QObject::tr("Open the phrases a team keeps on a PostgreSQL server"));
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

void Quillary::loadTranslators()
{
    ::loadTranslators(appTranslator, qtTranslator, translationsPath, language);
}
