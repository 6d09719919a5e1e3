#include "browser/typefind.h"

#include "browser/keylayouttable.h"
#include "browser/phrasemodel.h"
#include "browser/searchcondition.h"
#include "browser/sqltable.h"
#include "db/servernotices.h"
#include "db/settingskeys.h"
#include "db/tracecategories.h"
#include "db/typewatch.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QContextMenuEvent>
#include <QDebug>
#include <QFrame>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QSqlTableModel>

#include <algorithm>

TypeFind::TypeFind(QWidget *parent)
    : QDockWidget(parent)
{
    createWidgets();
    createActions();
    retranslate();
    enableChanged(false);
}

TypeFind::~TypeFind()
{
    watcher->stop(true);
    watcher->removeFile(model->database().databaseName());
    model->deleteLater();
}

void TypeFind::createWidgets()
{
    setObjectName(QStringLiteral("TypeFind"));

    table = new SQLTable;
    table->setSortingEnabled(true);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);

    searchEdit = new QLineEdit;
    searchLabel = new QLabel(QObject::tr("Find Strings"));

    // The model belongs to the default connection rather than to the widget tree;
    // the dock hands it back when it goes.
    model = new PhraseModel(nullptr, QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false));
    connectModel();

    watcher = new TypeWatch(this);
    watcher->setConnection(model->database().connectionName());
    notices = new ServerNotices(this);

    table->setModel(model);
    setupModel();

    clearButton = new QPushButton;
    const QPixmap clearPixmap(QStringLiteral(":/images/del.png"));
    clearButton->setIcon(clearPixmap);
    clearButton->setIconSize(clearPixmap.size());
    clearButton->setFixedSize(19, 19);
    clearButton->setEnabled(false);

    auto *searchLayout = new QHBoxLayout;
    searchLayout->setContentsMargins(4, 4, 4, 4);
    searchLayout->setSpacing(6);
    searchLayout->addWidget(clearButton, 20, Qt::AlignVCenter);
    searchLayout->addWidget(searchLabel, 0);
    searchLayout->addWidget(searchEdit, 0);

    auto *mainLayout = new QVBoxLayout;
    mainLayout->setContentsMargins(0, 0, 0, 0);
    mainLayout->setSpacing(0);
    mainLayout->addWidget(table, 0);
    mainLayout->addLayout(searchLayout);

    auto *frame = new QFrame;
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    frame->setLineWidth(1);
    frame->setLayout(mainLayout);
    setWidget(frame);

    contextMenu = new QMenu(this);
}

void TypeFind::createActions()
{
    const auto makeAction = [this](const QString &icon, const QKeySequence &shortcut, bool lowPriority) {
        auto *action = new QAction(QIcon(icon), QString(), this);
        action->setShortcut(shortcut);
        if (lowPriority)
            action->setPriority(QAction::LowPriority);
        return action;
    };
    copyPhraseAction = makeAction(QStringLiteral(":/images/phrasecopy.png"), QKeySequence::Copy, true);
    copyCellsAction = makeAction(QStringLiteral(":/images/copycells.png"), QKeySequence(Qt::CTRL + Qt::Key_T), false);
    pastePhraseAction = makeAction(QStringLiteral(":/images/phrasepaste.png"), QKeySequence::Paste, true);
    deletePhraseAction = makeAction(QStringLiteral(":/images/phrasedel.png"), QKeySequence(Qt::Key_Delete), true);
    appendPhraseAction = makeAction(QStringLiteral(":/images/phraseins.png"), QKeySequence(Qt::Key_F4), true);

    copyPhraseAction->setEnabled(false);
    copyCellsAction->setEnabled(false);
    pastePhraseAction->setEnabled(false);
    deletePhraseAction->setEnabled(false);
    appendPhraseAction->setEnabled(!model->isReadOnly());
    // The editor's actions share these keys; each dock's keys act where the focus is.
    for (QAction *action : {copyPhraseAction, copyCellsAction, pastePhraseAction, deletePhraseAction}) {
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(action);
    }

    contextMenu->addAction(copyPhraseAction);
    contextMenu->addAction(copyCellsAction);
    contextMenu->addAction(pastePhraseAction);
    contextMenu->addAction(deletePhraseAction);
}

void TypeFind::setReadOnly()
{
    model->setReadOnly(true);
    appendPhraseAction->setEnabled(false);
}

int TypeFind::column(PhraseStore::Field field) const
{
    return model->column(field);
}

QVariant TypeFind::cell(int row, PhraseStore::Field field) const
{
    return model->value(row, field);
}

void TypeFind::setHeaderTexts()
{
    const auto header = [this](PhraseStore::Field field, const QString &text) {
        model->setHeaderData(column(field), Qt::Horizontal, text, Qt::EditRole);
    };
    header(PhraseStore::Str, QObject::tr("Phrases"));
    header(PhraseStore::Labels, QObject::tr("Labels"));
    header(PhraseStore::KeyWord, QObject::tr("Comment"));
    header(PhraseStore::HotKey, QObject::tr("HotKey"));
    header(PhraseStore::Rating, QObject::tr("Rating"));
    header(PhraseStore::Frequency, QObject::tr("Count"));
}

void TypeFind::retranslate()
{
    setWindowTitle(QObject::tr("Search phrases"));
    searchLabel->setText(QObject::tr("Find Strings"));
    setHeaderTexts();

    copyPhraseAction->setText(QObject::tr("Copy Phrase"));
    copyPhraseAction->setStatusTip(QObject::tr("Copy selected phrase to the clipboard"));
    copyCellsAction->setText(QObject::tr("Copy text from cells"));
    copyCellsAction->setStatusTip(QObject::tr("Copy text from several selected cells to the clipboard"));
    pastePhraseAction->setText(QObject::tr("Paste Phrase"));
    pastePhraseAction->setStatusTip(QObject::tr("Paste the phrase from the clipboard"));
    deletePhraseAction->setText(QObject::tr("Delete Phrase"));
    deletePhraseAction->setStatusTip(QObject::tr("Delete Phrase"));
    appendPhraseAction->setText(QObject::tr("Append Phrase"));
    appendPhraseAction->setStatusTip(QObject::tr("Append Phrase"));
}

void TypeFind::connectSignals()
{
    connect(searchEdit, &QLineEdit::textEdited, this, &TypeFind::findStrEdit);
    connect(searchEdit, &QLineEdit::editingFinished, this, qOverload<>(&TypeFind::findStart));
    connect(clearButton, &QPushButton::clicked, this, &TypeFind::delFindStr);
    connect(table, &SQLTable::keyDelete, this, &TypeFind::deleteRow);
    connect(table, &SQLTable::keyInsert, this, &TypeFind::insertRow);
    connect(table, &SQLTable::keyCopy, this, &TypeFind::copyPhrase);
    connect(table, &SQLTable::keyPaste, this, &TypeFind::pastePhrase);
    connectSelection();
    signalsConnected = true;
    noteLater(heldNote);
    connect(copyPhraseAction, &QAction::triggered, this, &TypeFind::copyPhrase);
    connect(copyCellsAction, &QAction::triggered, this, &TypeFind::copyCell);
    connect(pastePhraseAction, &QAction::triggered, this, &TypeFind::pastePhrase);
    connect(deletePhraseAction, &QAction::triggered, this, &TypeFind::deleteRow);
    connect(appendPhraseAction, &QAction::triggered, this, &TypeFind::appendRow);
    connect(table, &SQLTable::changeFocus, this, &TypeFind::enableChanged);
    connect(this, &QDockWidget::visibilityChanged, this, &TypeFind::enableChanged);
    connect(watcher, &TypeWatch::fileChanged, this, &TypeFind::changedFile);
    connect(notices, &ServerNotices::changed, this, [this] { changedFile(model->database().databaseName()); });
    connect(table->verticalHeader(), &QHeaderView::sectionPressed, this, &TypeFind::copyPhraseIndex);
}

bool TypeFind::currentIsValid() const
{
    const QModelIndex current = table->currentIndex();
    return current.row() >= 0 && current.column() >= 0 && current.model();
}

void TypeFind::showCurrent()
{
    if (currentIsValid())
        currentCh(table->currentIndex());
}

bool TypeFind::stopWatching(const QString &path)
{
    watcher->stop(true);
    return watcher->removeFile(path);
}

void TypeFind::contextMenuEvent(QContextMenuEvent *e)
{
    contextMenu->exec(e->globalPos());
}

int TypeFind::rowOfId(const QVariant &id, int fallbackRow) const
{
    const int row = model->rowOfId(id);
    return row >= 0 ? row : qMin(fallbackRow, model->rowCount() - 1);
}

void TypeFind::changedFile(const QString &nameDB)
{
    qCDebug(lcWatch).noquote() << "changedFile" << nameDB;
    if (!currentIsValid()) {
        findStart(true);
        return;
    }
    const QModelIndex current = table->currentIndex();
    const QVariant id = cell(current.row(), PhraseStore::Id);
    const int row = current.row();
    const int column = current.column();

    findStart(true);

    if (id.toInt() < 0)
        return;
    table->setCurrentIndex(model->index(rowOfId(id, row), column));
}

void TypeFind::reportWriteFailure(const QString &reason)
{
    emit setMessage(QObject::tr("Unable to save the phrase - ") + reason);
}

void TypeFind::showStoredPhrase(qint64 id, int column)
{
    table->setCurrentIndex(model->index(rowOfId(id, model->rowCount() - 1), column));
    // The reload took away the cell editor the phrase was typed into, and the focus
    // with it; the next keys belong in the table, where the user was typing.
    if (cellWasEditing)
        table->setFocus(Qt::OtherFocusReason);
    cellWasEditing = false;
}

bool TypeFind::dropPendingRow()
{
    const bool onPending = currentIsValid() && table->currentIndex().row() == model->pendingRow();
    const int column = table->currentIndex().column();
    // The cursor goes back to the phrase the user was on when the row was put in.
    if (model->dropPendingRow() && onPending) {
        const int row = model->rowOfId(phraseBeforeNewRow);
        if (row >= 0)
            table->setCurrentIndex(model->index(row, column));
    }
    return onPending;
}

void TypeFind::findStart(bool actEnable)
{
    const QString text = searchEdit->displayText();
    // Refused before it reaches SQLite, which would fail it; it must never read as "not found".
    if (searchTooLong(text)) {
        emit setMessage(searchTooLongNote());
        return;
    }
    model->setFilter(searchFilter(text));
    // A table that could not be read before is read now.
    if (!model->query().isActive())
        model->select();

    reportFound();

    if (!actEnable) {
        copyPhraseAction->setEnabled(false);
        deletePhraseAction->setEnabled(false);
    }
    emit clearHtml();
}

void TypeFind::findText(const QString &text)
{
    searchEdit->setText(text);
    findStart(false);
    if (searchTooLong(text))
        return;
    table->setFocus();
    if (model->rowCount() > 0)
        table->setCurrentIndex(model->index(0, model->column(PhraseStore::Str)));
    // The count, not the current phrase's uses, answers the search.
    reportFound();
}

void TypeFind::reportFound()
{
    const int n = model->rowCount();
    if (n != 0)
        emit setMessage(QObject::tr("%n phrase(s) have been found.", "", n));
    else
        emit setMessage(QObject::tr("Phrases are not found."));
}

void TypeFind::findStart()
{
    findStart(false);
}

void TypeFind::findStrEdit(const QString &str)
{
    if (!str.isEmpty()) {
        clearButton->setEnabled(true);
        return;
    }
    model->setFilter(QString());
    emit setMessage(QObject::tr("A total of %n phrase(s).", "", model->rowCount()));
    emit clearHtml();
    clearButton->setEnabled(false);
}

void TypeFind::delFindStr()
{
    searchEdit->setText(QString());
    findStrEdit(QString());
}

void TypeFind::loadTableSettings(QSettings *settings, bool firstRun)
{
    QHeaderView *header = table->horizontalHeader();
    if (firstRun) {
        table->setColumnWidth(column(PhraseStore::Str), 350);
        table->setColumnWidth(column(PhraseStore::Labels), 200);
        table->setColumnWidth(column(PhraseStore::KeyWord), 200);
        fillDefaultKeyLayout();
    } else {
        header->restoreState(settings->value(SettingsKeys::tableHeader()).toByteArray());
        const QString scan = settings->value(SettingsKeys::keyLayoutScan()).toString();
        const QString code = settings->value(SettingsKeys::keyLayoutCode()).toString();
        recordKeyPairs(code, scan);
    }
    header->setSectionResizeMode(QHeaderView::Interactive);
}

void TypeFind::saveTableSettings(QSettings *settings)
{
    settings->setValue(SettingsKeys::tableHeader(), table->horizontalHeader()->saveState());
    const auto layout = keyLayoutStrings();
    settings->setValue(SettingsKeys::keyLayoutScan(), layout.first);
    settings->setValue(SettingsKeys::keyLayoutCode(), layout.second);
}
