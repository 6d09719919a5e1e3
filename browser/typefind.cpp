#include "browser/typefind.h"

#include "app/busyscope.h"
#include "app/globals.h"
#include "browser/editkeywordsdelegate.h"
#include "browser/editlabeldelegate.h"
#include "browser/editstrdelegate.h"
#include "browser/keylayouttable.h"
#include "browser/noeditdelegate.h"
#include "browser/phrasemodel.h"
#include "browser/searchcondition.h"
#include "browser/spinboxdelegate.h"
#include "browser/sqltable.h"
#include "db/databasefile.h"
#include "db/settingskeys.h"
#include "db/tracecategories.h"
#include "db/typewatch.h"
#include "exchange/eventpacer.h"
#include "exchange/htmlsanitizer.h"
#include "exchange/phrasewriters.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDebug>
#include <QFrame>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QSqlTableModel>

#include <algorithm>

namespace {
const PhraseStore::Field shownFields[] = {PhraseStore::Str, PhraseStore::Labels, PhraseStore::KeyWord,
                                          PhraseStore::Rating, PhraseStore::Frequency};
} // namespace

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
    watcher->removeFile(nameFileDB);
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
    connect(model, &PhraseModel::writeFailed, this, &TypeFind::reportWriteFailure);
    connect(model, &PhraseModel::phraseAdded, this, &TypeFind::showStoredPhrase);
    connect(model, &PhraseModel::writeConflict, this, &TypeFind::queueConflict);

    watcher = new TypeWatch(this);
    watcher->setConnection(model->database().connectionName());

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

void TypeFind::setupModel()
{
    // A new file keeps the column layout the user made, where the columns match.
    const QByteArray layout = table->horizontalHeader()->saveState();
    const int oldColumns = table->horizontalHeader()->count();
    model->setReadOnly(!isWritableDatabase(model->database()));
    readOnlyNoted = false;
    model->setTable(PhraseStore::tableName());
    model->setEditStrategy(QSqlTableModel::OnFieldChange);
    model->select();
    if (oldColumns > 0 && oldColumns == model->columnCount())
        table->horizontalHeader()->restoreState(layout);
    if (appendPhraseAction)
        appendPhraseAction->setEnabled(!model->isReadOnly());

    for (int c = 0; c < model->columnCount(); ++c) {
        const bool shown = std::any_of(std::begin(shownFields), std::end(shownFields),
                                       [this, c](PhraseStore::Field field) { return column(field) == c; });
        table->setColumnHidden(c, !shown);
    }

    emit clearHtml();

    // Fresh delegates for the fresh model; the former ones go with their connections.
    for (int c = 0; c < model->columnCount(); ++c) {
        if (QAbstractItemDelegate *old = table->itemDelegateForColumn(c)) {
            table->setItemDelegateForColumn(c, nullptr);
            old->deleteLater();
        }
    }
    const auto install = [this](PhraseStore::Field field, QAbstractItemDelegate *delegate) {
        // Connected before the view's own commit: whether the editor still had the focus
        // (Return) or the user had clicked elsewhere is known only at this moment.
        connect(delegate, &QAbstractItemDelegate::commitData, this, [this] {
            const QWidget *focus = QApplication::focusWidget();
            cellWasEditing = focus && focus != table && table->isAncestorOf(focus);
        });
        connect(delegate, &QAbstractItemDelegate::closeEditor, this, [this] { cellWasEditing = false; });
        table->setItemDelegateForColumn(column(field), delegate);
    };
    auto *strDelegate = new EditStrDelegate(watcher, this);
    install(PhraseStore::Str, strDelegate);
    install(PhraseStore::KeyWord, new EditKeyWordsDelegate(watcher, this));
    install(PhraseStore::Labels, new EditLabelDelegate(watcher, this));
    install(PhraseStore::Rating, new SpinBoxDelegate(this));
    install(PhraseStore::Frequency, new NoEditDelegate(this));
    connect(strDelegate, &EditStrDelegate::setHtml, this, &TypeFind::nextHtml);

    watcher->addFile(nameFileDB);
    watcher->start(false);

    setHeaderTexts();
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
    connect(table->selectionModel(), &QItemSelectionModel::currentChanged, this, &TypeFind::currentCh);
    connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this, &TypeFind::selectCh);
    connect(copyPhraseAction, &QAction::triggered, this, &TypeFind::copyPhrase);
    connect(copyCellsAction, &QAction::triggered, this, &TypeFind::copyCell);
    connect(pastePhraseAction, &QAction::triggered, this, &TypeFind::pastePhrase);
    connect(deletePhraseAction, &QAction::triggered, this, &TypeFind::deleteRow);
    connect(appendPhraseAction, &QAction::triggered, this, &TypeFind::appendRow);
    connect(table, &SQLTable::changeFocus, this, &TypeFind::enableChanged);
    connect(this, &QDockWidget::visibilityChanged, this, &TypeFind::enableChanged);
    connect(watcher, &TypeWatch::fileChanged, this, &TypeFind::changedFile);
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

void TypeFind::insertRow()
{
    if (dropPendingRow() || !currentIsValid() || model->isReadOnly())
        return;
    const QModelIndex current = table->currentIndex();
    phraseBeforeNewRow = cell(current.row(), PhraseStore::Id);
    model->insertRows(current.row(), 1);
    table->setCurrentIndex(model->index(current.row(), current.column()));
}

void TypeFind::appendRow()
{
    table->setFocus(Qt::OtherFocusReason);
    dropPendingRow();
    if (model->isReadOnly())
        return;
    phraseBeforeNewRow = currentIsValid() ? cell(table->currentIndex().row(), PhraseStore::Id) : QVariant();
    const int n = model->rowCount();
    model->insertRows(n, 1);
    table->setCurrentIndex(model->index(n, column(PhraseStore::Str)));
}

void TypeFind::setEditorBase(int row)
{
    editorBaseStr = cell(row, PhraseStore::Str);
    editorBaseHtml = cell(row, PhraseStore::Html);
}

void TypeFind::currentCh(const QModelIndex &current)
{
    htmlIndex = model->index(current.row(), column(PhraseStore::Html));
    htmlId = cell(current.row(), PhraseStore::Id);
    setEditorBase(current.row());
    QString text = cell(current.row(), PhraseStore::Html).toString();
    if (text.isEmpty())
        text = cell(current.row(), PhraseStore::Str).toString();
    emit setHtml(text);
    const int used = cell(current.row(), PhraseStore::Frequency).toInt();
    emit setMessage(QObject::tr("The phrase used %n time(s)", "", used));
}

void TypeFind::selectCh(const QItemSelection &selected)
{
    QItemSelectionModel *selection = table->selectionModel();
    const bool valid = currentIsValid();
    const bool writable = !model->isReadOnly();
    const bool clipboardHasText = [] {
        const QMimeData *data = QApplication::clipboard()->mimeData();
        return data && data->hasText();
    }();

    if (selected.isEmpty()) {
        if (valid && selection->isSelected(table->currentIndex())) {
            deletePhraseAction->setEnabled(writable);
            copyPhraseAction->setEnabled(true);
            copyCellsAction->setEnabled(true);
            pastePhraseAction->setEnabled(writable && clipboardHasText);
        } else {
            deletePhraseAction->setEnabled(false);
            copyPhraseAction->setEnabled(false);
            copyCellsAction->setEnabled(false);
        }
        return;
    }

    const QModelIndexList cells = selection->selectedIndexes();
    if (cells.size() >= 2)
        emit setMessage(QObject::tr("%n phrase(s) have been chosen.", "", selectedRows().size()));
    deletePhraseAction->setEnabled(valid && writable);
    copyPhraseAction->setEnabled(valid);
    copyCellsAction->setEnabled(valid);
    pastePhraseAction->setEnabled(valid && writable && clipboardHasText);
}

void TypeFind::enableChanged(bool tableFocus)
{
    if (table->hasFocus())
        watcher->start(false);
    else
        watcher->stop(false);

    if (!tableFocus) {
        pastePhraseAction->setEnabled(false);
        copyPhraseAction->setEnabled(false);
        copyCellsAction->setEnabled(false);
        deletePhraseAction->setEnabled(false);
        return;
    }
    selectCh(table->selectionModel()->selection());
}

void TypeFind::writeHtml(const QString &htm, const QString &str)
{
    // A phrase typed into a new empty row becomes a phrase of its own.
    if (htmlId.isNull()) {
        const bool pending = htmlIndex.isValid() && htmlIndex.row() == model->pendingRow();
        emit htmlStored(pending && model->writeText(htmlIndex.row(), str, htm));
        return;
    }
    // Rows move under a sort, a search or a reload: the edit belongs to the phrase that
    // was sent to the editor, found again by its id, and is based on what it was sent.
    const bool stored = model->writeText(htmlId.toLongLong(), str, htm, editorBaseStr, editorBaseHtml);
    if (stored) {
        editorBaseStr = str;
        editorBaseHtml = htm;
    }
    emit htmlStored(stored);
}

void TypeFind::nextHtml(const QString &str)
{
    // The phrase cell's own write: the editor starts again from what it stored.
    const int row = model->rowOfId(htmlId);
    if (row >= 0)
        setEditorBase(row);
    emit setHtml(str);
}

void TypeFind::refreshEditor()
{
    if (htmlId.isNull())
        return;
    PhraseRecord now;
    bool found = false;
    QString error;
    // A look that must not freeze the window: while another program holds the file, the
    // editor keeps what it shows, and its write stays based on that.
    if (!model->store().read(htmlId.toLongLong(), &now, &found, &error, false))
        return;
    if (!found || (now.str == editorBaseStr.toString() && now.html == editorBaseHtml.toString()))
        return;
    // One row read again, not the table: the editor must not wait for a reload.
    const int row = model->rowOfId(htmlId);
    if (row >= 0 && row != model->pendingRow())
        model->selectRow(row);
    editorBaseStr = now.str;
    editorBaseHtml = now.html;
    emit setHtml(now.html.isEmpty() ? now.str : now.html);
}

void TypeFind::queueConflict(const PhraseConflict &conflict)
{
    conflicts << conflict;
    // Asked once the focus change or commit that wrote has finished, never from inside it.
    if (conflicts.size() == 1)
        QMetaObject::invokeMethod(this, &TypeFind::askConflicts, Qt::QueuedConnection);
}

void TypeFind::askConflicts()
{
    while (!conflicts.isEmpty()) {
        const PhraseConflict conflict = conflicts.takeFirst();
        const ConflictChoice choice = askConflict(window(), conflict);
        const QModelIndex current = table->currentIndex();
        const QVariant currentId = currentIsValid() ? cell(current.row(), PhraseStore::Id) : QVariant();
        qint64 newId = 0;
        model->resolve(conflict, choice, &newId);
        reportFound();
        // The cursor goes to a phrase kept beside the other, else stays on its phrase.
        const QVariant target = newId > 0 ? QVariant(newId) : currentId;
        if (target.isValid()) {
            table->setCurrentIndex(model->index(rowOfId(target, current.row()), qMax(0, current.column())));
            table->scrollTo(table->currentIndex());
        }
        showCurrent();
    }
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

// Clipboard ----------------------------------------------------------------------

PhraseRecord TypeFind::takePhrase(int row)
{
    // Every copy is one use of the phrase. A use the file refused is not counted, and
    // the record carries the count the file holds.
    if (!model->isReadOnly()) {
        model->countUse(row, nullptr);
    } else if (!readOnlyNoted) {
        readOnlyNoted = true;
        emit setMessage(QObject::tr("The database is read-only: uses of phrases are not counted."));
    }
    return model->phrase(row);
}

void TypeFind::putOnClipboard(const QVector<PhraseRecord> &records, int row)
{
    auto *mime = new QMimeData;
    mime->setData(clipboardFormat, encodePhraseRecords(records));
    const QString html = cell(row, PhraseStore::Html).toString();
    if (!html.isEmpty())
        mime->setHtml(html);
    mime->setText(cell(row, PhraseStore::Str).toString());
    QApplication::clipboard()->setMimeData(mime, QClipboard::Clipboard);
    pastePhraseAction->setEnabled(!model->isReadOnly());
}

void TypeFind::copyPhrase()
{
    if (dropPendingRow() || !currentIsValid())
        return;
    const int current = table->currentIndex().row();
    QVector<PhraseRecord> records;
    const QModelIndexList cells = table->selectionModel()->selectedIndexes();
    // A cursor moved away from the selection (Ctrl with an arrow key) copies the
    // phrase it stands on: the clipboard's text and the counted use must agree.
    const bool currentSelected = std::any_of(cells.cbegin(), cells.cend(),
                                             [current](const QModelIndex &index) { return index.row() == current; });
    if (cells.isEmpty() || !currentSelected) {
        records << takePhrase(current);
    } else {
        int previous = -1;
        for (const QModelIndex &index : cells) {
            if (index.row() != previous)
                records << takePhrase(index.row());
            previous = index.row();
        }
    }
    putOnClipboard(records, current);
}

void TypeFind::copyPhraseIndex(int r)
{
    qCDebug(lcTable) << "Row" << r;
    // Dropping the empty row moves the rows below it up by one.
    const int pending = model->pendingRow();
    dropPendingRow();
    if (r == pending)
        return;
    if (pending >= 0 && r > pending)
        --r;
    putOnClipboard({takePhrase(r)}, r);
}

void TypeFind::copyCell()
{
    const QModelIndexList cells = table->selectionModel()->selectedIndexes();
    if (cells.isEmpty())
        return;
    QString text;
    for (const QModelIndex &index : cells) {
        if (table->isColumnHidden(index.column()))
            continue;
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        text += index.data(Qt::EditRole).toString();
    }
    auto *mime = new QMimeData;
    mime->setText(text);
    QApplication::clipboard()->setMimeData(mime, QClipboard::Clipboard);
}

void TypeFind::insertPhrases(const QVector<PhraseRecord> &records)
{
    const int c = table->currentIndex().column();
    watcher->stop(true);
    QVector<qint64> ids;
    QScopedPointer<BusyScope> busy(progressBar && records.size() > 1000 ? new BusyScope(progressBar) : nullptr);
    EventPacer pacer(busy ? busy->progress() : ImportProgress());
    const auto step = [&pacer](qint64 done, qint64 total) { pacer.step(done, total); };
    if (model->insertPhrases(records, &ids, step)) {
        // The file orders new phrases by their ids; the cursor follows the first one.
        model->select();
        table->clearSelection();
        table->setCurrentIndex(model->index(rowOfId(ids.value(0), 0), c));
    }
    watcher->start(true);
}

void TypeFind::pastePhrase()
{
    const QMimeData *mime = QApplication::clipboard()->mimeData();
    dropPendingRow();
    if (!mime || !currentIsValid() || model->isReadOnly())
        return;

    if (mime->hasFormat(clipboardFormat)) {
        QVector<PhraseRecord> records = decodePhraseRecords(mime->data(clipboardFormat));
        // A record with nothing in it is no phrase, however many of them arrive.
        const auto empty = [](const PhraseRecord &r) {
            return r.str.isEmpty() && r.labels.isEmpty() && r.keyWord.isEmpty() && r.hotKey.isEmpty() &&
                   r.html.isEmpty() && r.rating == 0 && r.frequency == 0;
        };
        records.erase(std::remove_if(records.begin(), records.end(), empty), records.end());
        if (records.isEmpty() || (records.size() > 1000 && askPaste(records.size())))
            return;
        insertPhrases(records);
    } else if (mime->hasHtml() || mime->hasText()) {
        PhraseRecord record;
        // Some programs offer rich text only; the phrase still needs its plain text
        // to be shown and found.
        record.str = mime->hasText() ? mime->text() : htmlPlainText(mime->html());
        if (mime->hasHtml())
            record.html = mime->html();
        insertPhrases({record});
    }
}

// Rows ---------------------------------------------------------------------------

bool TypeFind::askPaste(int n)
{
    return QMessageBox::warning(nullptr, QObject::tr("Warning"), QObject::tr("Paste %n phrase(s)?", "", n),
                                QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes;
}

bool TypeFind::askDelete(int n)
{
    const QString text = n < 2 ? QObject::tr("Do you want to delete this phrase?")
                               : QObject::tr("Do you want to delete %n phrase(s)?", "", n);
    return QMessageBox::warning(nullptr, QObject::tr("Warning"), text, QMessageBox::Yes | QMessageBox::No,
                                QMessageBox::No) != QMessageBox::Yes;
}

void TypeFind::deleteRow()
{
    // An empty row nothing was typed into is simply taken away.
    if (dropPendingRow() || !currentIsValid() || model->isReadOnly())
        return;
    const int r = table->currentIndex().row();
    const int c = table->currentIndex().column();
    const int n = model->rowCount();
    const QModelIndexList cells = table->selectionModel()->selectedIndexes();

    const QVector<int> rows = cells.isEmpty() ? QVector<int>{r} : selectedRows();
    if (askDelete(rows.size()))
        return;

    // The cursor goes to the first phrase left at or below it, else to the last one
    // above, found again by its id once the table has reloaded.
    int newRow = r;
    while (newRow < n && std::binary_search(rows.cbegin(), rows.cend(), newRow))
        ++newRow;
    if (newRow == n) {
        newRow = r;
        while (newRow >= 0 && std::binary_search(rows.cbegin(), rows.cend(), newRow))
            --newRow;
    }
    const QVariant targetId = newRow >= 0 ? cell(newRow, PhraseStore::Id) : QVariant();
    int fallbackRow = newRow;
    for (const int row : rows) {
        if (row < newRow)
            --fallbackRow;
    }

    QApplication::setOverrideCursor(Qt::WaitCursor);
    watcher->stop(true);
    const bool removed = model->removePhrases(rows);
    QApplication::restoreOverrideCursor();

    // A refused deletion leaves its reason in the status bar and the table as it is.
    if (removed) {
        findStart(true);
        if (targetId.isValid())
            table->setCurrentIndex(model->index(rowOfId(targetId, fallbackRow), c));
    }
    watcher->start(true);
}

// Export ----------------------------------------------------------------------

QVector<int> TypeFind::selectedRows() const
{
    // Each row once, in table order, however many of its cells are selected.
    QVector<int> rows;
    for (const QModelIndex &index : table->selectionModel()->selectedIndexes())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

namespace {

void showExportMessage(QWidget *parent, const QString &title, const QString &text)
{
    // The export runs under the wait cursor; the message to the user must not.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    QMessageBox::warning(parent, title, text);
    QApplication::restoreOverrideCursor();
}

} // namespace

bool TypeFind::exportPhrases(const QString &fileName, bool ini, const ImportProgress &progress)
{
    // A single selected cell is only the cursor: the export then takes every listed phrase.
    QVector<int> rows = table->selectionModel()->selectedIndexes().size() > 1 ? selectedRows() : QVector<int>();
    if (rows.isEmpty()) {
        for (int row = 0; row < model->rowCount(); ++row) {
            if (row != model->pendingRow())
                rows << row;
        }
    }
    int written = 0;
    int notWhole = 0;
    QString error;
    const bool ok = writePhraseFile(fileName, ini, model->phraseSource(rows, progress), &written, &error, &notWhole);
    if (progress)
        progress(rows.size(), rows.size());
    if (!ok) {
        qWarning() << "export failed:" << error;
        showExportMessage(this, QObject::tr("Error"), error);
        return false;
    }
    emit setMessage(QObject::tr("%n phrase(s) have been exported.", "", written));
    if (notWhole > 0)
        showExportMessage(this, QObject::tr("Warning"), notWholeNote(notWhole));
    return true;
}

bool TypeFind::exportTxt(const QString &fileName, const ImportProgress &progress)
{
    return exportPhrases(fileName, false, progress);
}

bool TypeFind::exportIni(const QString &fileName, const ImportProgress &progress)
{
    return exportPhrases(fileName, true, progress);
}
