#include "browser/typefind.h"

#include "app/globals.h"
#include "browser/editkeywordsdelegate.h"
#include "browser/editlabeldelegate.h"
#include "browser/editstrdelegate.h"
#include "browser/keylayouttable.h"
#include "browser/noeditdelegate.h"
#include "browser/searchcondition.h"
#include "browser/spinboxdelegate.h"
#include "browser/sqltable.h"
#include "db/typewatch.h"
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
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlTableModel>
#include <QTextDocumentFragment>

#include <algorithm>

namespace
{
const int hiddenColumns[] = {0, 1, 2, 6, 7, 8, 9, 10, 13};
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
    model = new QSqlTableModel(nullptr, QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false));

    watcher = new TypeWatch(this);

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

    contextMenu->addAction(copyPhraseAction);
    contextMenu->addAction(copyCellsAction);
    contextMenu->addAction(pastePhraseAction);
    contextMenu->addAction(deletePhraseAction);
}

void TypeFind::setHeaderTexts()
{
    model->setHeaderData(ColStr, Qt::Horizontal, QObject::tr("Phrases"), Qt::EditRole);
    model->setHeaderData(ColLabels, Qt::Horizontal, QObject::tr("Labels"), Qt::EditRole);
    model->setHeaderData(ColKeyWord, Qt::Horizontal, QObject::tr("Comment"), Qt::EditRole);
    model->setHeaderData(ColHotKey, Qt::Horizontal, QObject::tr("HotKey"), Qt::EditRole);
    model->setHeaderData(ColRating, Qt::Horizontal, QObject::tr("Rating"), Qt::EditRole);
    model->setHeaderData(ColFrequency, Qt::Horizontal, QObject::tr("Count"), Qt::EditRole);
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
    model->setTable(QStringLiteral("TypeText"));
    model->setEditStrategy(QSqlTableModel::OnFieldChange);
    model->select();

    for (const int column : hiddenColumns)
        table->setColumnHidden(column, true);

    emit clearHtml();

    // Fresh delegates for the fresh model; the former ones go with their connections.
    for (const int column : {int(ColStr), int(ColLabels), int(ColKeyWord), int(ColRating), int(ColFrequency)}) {
        if (QAbstractItemDelegate *old = table->itemDelegateForColumn(column))
            old->deleteLater();
    }
    auto *strDelegate = new EditStrDelegate(watcher, this);
    table->setItemDelegateForColumn(ColStr, strDelegate);
    table->setItemDelegateForColumn(ColKeyWord, new EditKeyWordsDelegate(watcher, this));
    table->setItemDelegateForColumn(ColLabels, new EditLabelDelegate(watcher, this));
    table->setItemDelegateForColumn(ColRating, new SpinBoxDelegate(this));
    table->setItemDelegateForColumn(ColFrequency, new NoEditDelegate(this));
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

bool TypeFind::idMatchesFilter(const QVariant &id) const
{
    QSqlQuery query(model->database());
    QString sql = QStringLiteral("SELECT 1 FROM TypeText WHERE id = ?");
    if (!model->filter().isEmpty())
        sql += QStringLiteral(" AND (%1)").arg(model->filter());
    query.prepare(sql);
    query.addBindValue(id);
    return query.exec() && query.next();
}

int TypeFind::rowOfId(const QVariant &id, int fallbackRow)
{
    // The model fetches rows lazily; only fetch further when the phrase is known to be
    // among the rows it lists, so that a vanished phrase does not load the whole table.
    const bool listed = idMatchesFilter(id);
    int row = 0;
    forever {
        for (; row < model->rowCount(); ++row) {
            if (model->data(model->index(row, ColId)) == id)
                return row;
        }
        const bool wanted = listed || row <= fallbackRow;
        if (!wanted || !model->canFetchMore())
            break;
        model->fetchMore();
    }
    return qMin(fallbackRow, model->rowCount() - 1);
}

void TypeFind::changedFile(const QString &nameDB)
{
    qDebug().noquote() << "changedFile" << nameDB;
    if (!currentIsValid()) {
        findStart(true);
        return;
    }
    const QModelIndex current = table->currentIndex();
    const QVariant id = model->data(model->index(current.row(), ColId));
    const int row = current.row();
    const int column = current.column();

    findStart(true);

    if (id.toInt() < 0)
        return;
    const int target = rowOfId(id, row);
    table->setCurrentIndex(model->index(target, column));
}

int TypeFind::matchingCount() const
{
    // The model lists rows as the view scrolls; the user wants to know how many match.
    QSqlQuery query(model->database());
    QString sql = QStringLiteral("SELECT count(*) FROM TypeText");
    if (!model->filter().isEmpty())
        sql += QStringLiteral(" WHERE ") + model->filter();
    if (query.exec(sql) && query.next())
        return query.value(0).toInt();
    return model->rowCount();
}

void TypeFind::findStart(bool actEnable)
{
    const QString text = searchEdit->displayText();
    model->setFilter(searchFilter(text));

    const int n = matchingCount();
    if (n != 0)
        emit setMessage(QObject::tr("%n phrase(s) have been found.", "", n));
    else
        emit setMessage(QObject::tr("Phrases are not found."));

    if (!actEnable) {
        copyPhraseAction->setEnabled(false);
        deletePhraseAction->setEnabled(false);
    }
    emit clearHtml();
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
    emit setMessage(QObject::tr("A total of %n phrase(s).", "", matchingCount()));
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
    if (!currentIsValid())
        return;
    const QModelIndex current = table->currentIndex();
    model->insertRows(current.row(), 1);
    table->setCurrentIndex(model->index(current.row(), current.column()));
}

void TypeFind::appendRow()
{
    table->setFocus(Qt::OtherFocusReason);
    // Appending goes after the last phrase, not after the last row fetched so far.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    while (model->canFetchMore())
        model->fetchMore();
    QApplication::restoreOverrideCursor();
    const int n = model->rowCount();
    model->insertRows(n, 1);
    table->setCurrentIndex(model->index(n, ColStr));
}

void TypeFind::currentCh(const QModelIndex &current)
{
    htmlIndex = model->index(current.row(), ColHtml);
    htmlId = model->data(model->index(current.row(), ColId));
    QString text = model->data(htmlIndex).toString();
    if (text.isEmpty())
        text = model->data(model->index(current.row(), ColStr)).toString();
    emit setHtml(text);
    const int used = model->data(model->index(current.row(), ColFrequency)).toInt();
    emit setMessage(QObject::tr("The phrase used %n time(s)", "", used));
}

void TypeFind::selectCh(const QItemSelection &selected)
{
    QItemSelectionModel *selection = table->selectionModel();
    const bool valid = currentIsValid();
    const bool clipboardHasText = [] {
        const QMimeData *data = QApplication::clipboard()->mimeData();
        return data && data->hasText();
    }();

    if (selected.isEmpty()) {
        if (valid && selection->isSelected(table->currentIndex())) {
            deletePhraseAction->setEnabled(true);
            copyPhraseAction->setEnabled(true);
            copyCellsAction->setEnabled(true);
            pastePhraseAction->setEnabled(clipboardHasText);
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
    deletePhraseAction->setEnabled(valid);
    copyPhraseAction->setEnabled(valid);
    copyCellsAction->setEnabled(valid);
    pastePhraseAction->setEnabled(valid && clipboardHasText);
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
    if (!htmlId.isValid())
        return;
    // Rows move under a sort, a search or a reload: the edit belongs to the phrase that
    // was sent to the editor, found again by its id.
    int row = htmlIndex.row();
    if (model->data(model->index(row, ColId)) != htmlId)
        row = idMatchesFilter(htmlId) ? rowOfId(htmlId, -1) : -1;
    if (row >= 0 && model->data(model->index(row, ColId)) == htmlId) {
        model->setData(model->index(row, ColHtml), htm, Qt::EditRole);
        model->setData(model->index(row, ColStr), str, Qt::EditRole);
        model->setData(model->index(row, ColStrLower), str.toLower(), Qt::EditRole);
        model->submitAll();
        return;
    }
    // Not listed at the moment: store it in the file directly; the watcher brings it back.
    QSqlQuery query(model->database());
    query.prepare(QStringLiteral("UPDATE TypeText SET Html = ?, Str = ?, StrLower = ? WHERE id = ?"));
    query.addBindValue(htm);
    query.addBindValue(str);
    query.addBindValue(str.toLower());
    query.addBindValue(htmlId);
    if (!query.exec())
        qWarning() << "Cannot store the edited phrase" << htmlId << query.lastError().text();
}

void TypeFind::nextHtml(const QString &str)
{
    emit setHtml(str);
}

void TypeFind::loadTableSettings(QSettings *settings, bool firstRun)
{
    QHeaderView *header = table->horizontalHeader();
    if (firstRun) {
        table->setColumnWidth(ColStr, 350);
        table->setColumnWidth(ColLabels, 200);
        table->setColumnWidth(ColKeyWord, 200);
        fillDefaultKeyLayout();
    } else {
        header->restoreState(settings->value(QStringLiteral("/SQLTable")).toByteArray());
        const QString scan = settings->value(QStringLiteral("/KeyLayoutScan")).toString();
        const QString code = settings->value(QStringLiteral("/KeyLayoutCode")).toString();
        recordKeyPairs(code, scan);
    }
    header->setSectionResizeMode(QHeaderView::Interactive);
}

void TypeFind::saveTableSettings(QSettings *settings)
{
    settings->setValue(QStringLiteral("/SQLTable"), table->horizontalHeader()->saveState());
    const auto layout = keyLayoutStrings();
    settings->setValue(QStringLiteral("/KeyLayoutScan"), layout.first);
    settings->setValue(QStringLiteral("/KeyLayoutCode"), layout.second);
}

// Clipboard ----------------------------------------------------------------------

QVariant TypeFind::cell(int row, int column) const
{
    return model->data(model->index(row, column));
}

PhraseRecord TypeFind::takePhrase(int row)
{
    // Every copy is one use of the phrase.
    const QModelIndex frequency = model->index(row, ColFrequency);
    model->setData(frequency, model->data(frequency).toInt() + 1, Qt::EditRole);

    PhraseRecord record;
    record.str = cell(row, ColStr).toString();
    record.labels = cell(row, ColLabels).toString();
    record.keyWord = cell(row, ColKeyWord).toString();
    record.hotKey = cell(row, ColHotKey).toString();
    record.html = cell(row, ColHtml).toString();
    record.rating = cell(row, ColRating).toInt();
    record.frequency = model->data(frequency).toInt();
    return record;
}

void TypeFind::putOnClipboard(const QVector<PhraseRecord> &records, int row)
{
    auto *mime = new QMimeData;
    mime->setData(clipboardFormat, encodePhraseRecords(records));
    const QString html = cell(row, ColHtml).toString();
    if (!html.isEmpty())
        mime->setHtml(html);
    mime->setText(cell(row, ColStr).toString());
    QApplication::clipboard()->setMimeData(mime, QClipboard::Clipboard);
    pastePhraseAction->setEnabled(true);
}

void TypeFind::copyPhrase()
{
    if (!currentIsValid())
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
    qDebug() << "Row" << r;
    putOnClipboard({takePhrase(r)}, r);
}

void TypeFind::copyCell()
{
    const QModelIndexList cells = table->selectionModel()->selectedIndexes();
    if (cells.isEmpty())
        return;
    QString text;
    for (const QModelIndex &index : cells) {
        const int column = index.column();
        if (column != ColStr && column != ColLabels && column != ColKeyWord && column != ColRating
            && column != ColFrequency)
            continue;
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        text += index.data().toString();
    }
    auto *mime = new QMimeData;
    mime->setText(text);
    QApplication::clipboard()->setMimeData(mime, QClipboard::Clipboard);
}

void TypeFind::insertPhrase(int row, const PhraseRecord &record)
{
    model->insertRows(row, 1);
    const auto put = [this, row](int column, const QVariant &value) {
        model->setData(model->index(row, column), value, Qt::EditRole);
    };
    put(ColStr, record.str);
    put(ColStrLower, record.str.toLower());
    put(ColLabels, record.labels);
    put(ColLabelLower, record.labels.toLower());
    put(ColKeyWord, record.keyWord);
    put(ColKeyLower, record.keyWord.toLower());
    put(ColHotKey, record.hotKey);
    put(ColHtml, record.html);
    put(ColRating, record.rating);
    put(ColFrequency, record.frequency);
    model->submitAll();
}

void TypeFind::pastePhrase()
{
    const QMimeData *mime = QApplication::clipboard()->mimeData();
    if (!mime || !currentIsValid())
        return;
    const QModelIndex current = table->currentIndex();

    if (mime->hasFormat(clipboardFormat)) {
        const QVector<PhraseRecord> records = decodePhraseRecords(mime->data(clipboardFormat));
        watcher->stop(true);
        int p = current.row();
        for (const PhraseRecord &record : records)
            insertPhrase(p++, record);
    } else if (mime->hasHtml() || mime->hasText()) {
        watcher->stop(true);
        model->insertRows(current.row(), 1);
        // Some programs offer rich text only; the phrase still needs its plain text
        // to be shown and found.
        const QString text =
            mime->hasText() ? mime->text() : QTextDocumentFragment::fromHtml(mime->html()).toPlainText();
        model->setData(model->index(current.row(), ColStr), text, Qt::EditRole);
        model->setData(model->index(current.row(), ColStrLower), text.toLower(), Qt::EditRole);
        if (mime->hasHtml())
            model->setData(model->index(current.row(), ColHtml), mime->html(), Qt::EditRole);
        model->submitAll();
    } else {
        return;
    }
    table->clearSelection();
    table->setCurrentIndex(model->index(current.row(), current.column()));
    watcher->start(true);
}

// Rows ---------------------------------------------------------------------------

bool TypeFind::askDelete(int n)
{
    const QString text = n < 2 ? QObject::tr("Do you want to delete this phrase?")
                               : QObject::tr("Do you want to delete %n phrase(s)?", "", n);
    return QMessageBox::warning(nullptr, QObject::tr("Warning"), text, QMessageBox::Yes | QMessageBox::No,
                                QMessageBox::No)
           != QMessageBox::Yes;
}

void TypeFind::deleteRow()
{
    if (!currentIsValid())
        return;
    const int r = table->currentIndex().row();
    const int c = table->currentIndex().column();
    const int n = model->rowCount();
    const QModelIndexList cells = table->selectionModel()->selectedIndexes();

    const QVector<int> rows = cells.isEmpty() ? QVector<int>{r} : selectedRows();
    if (askDelete(rows.size()))
        return;

    // The cursor goes to the first phrase left at or below it, else to the last one
    // above. Deleted rows stay in the model as blanks until it reloads, so that
    // phrase is remembered by its id rather than by a row number.
    int newRow = r;
    while (newRow < n && std::binary_search(rows.cbegin(), rows.cend(), newRow))
        ++newRow;
    if (newRow == n) {
        newRow = r;
        while (newRow >= 0 && std::binary_search(rows.cbegin(), rows.cend(), newRow))
            --newRow;
    }
    const QVariant targetId = newRow >= 0 ? cell(newRow, ColId) : QVariant();
    int fallbackRow = newRow;
    for (const int row : rows) {
        if (row < newRow)
            --fallbackRow;
    }

    QApplication::setOverrideCursor(Qt::WaitCursor);
    watcher->stop(true);
    for (auto it = rows.crbegin(); it != rows.crend(); ++it)
        model->removeRows(*it, 1);
    QApplication::restoreOverrideCursor();

    findStart(true);
    if (targetId.isValid())
        table->setCurrentIndex(model->index(rowOfId(targetId, fallbackRow), c));
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

PhraseFileRow fileRow(const QSqlRecord &record)
{
    PhraseFileRow row;
    row.str = record.value(TypeFind::ColStr).toString();
    row.labels = record.value(TypeFind::ColLabels).toString();
    row.keyWord = record.value(TypeFind::ColKeyWord).toString();
    row.html = record.value(TypeFind::ColHtml).toString();
    row.rating = record.value(TypeFind::ColRating).toInt();
    row.frequency = record.value(TypeFind::ColFrequency).toInt();
    return row;
}

void showExportError(QWidget *parent, const QString &text)
{
    // The export runs under the wait cursor; the question to the user must not.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    QMessageBox::warning(parent, QObject::tr("Error"), text);
    QApplication::restoreOverrideCursor();
}

} // namespace

bool TypeFind::exportPhrases(const QString &fileName, bool ini, const ImportProgress &progress)
{
    // A single selected cell is only the cursor: the export then takes every listed phrase.
    const QVector<int> rows =
        table->selectionModel()->selectedIndexes().size() > 1 ? selectedRows() : QVector<int>();
    qint64 total = rows.size();
    qint64 done = 0;
    QSqlQuery query(model->database());
    PhraseRowSource source;
    if (!rows.isEmpty()) {
        source = [&](PhraseFileRow *row) {
            if (done >= total)
                return false;
            *row = fileRow(model->record(rows.at(int(done++))));
            return true;
        };
    } else {
        // The model holds only the rows fetched so far; the same query read to its
        // end gives every listed phrase, in the table's order.
        total = matchingCount();
        query.setForwardOnly(true);
        if (!query.exec(model->query().lastQuery())) {
            showExportError(this, query.lastError().text());
            return false;
        }
        source = [&](PhraseFileRow *row) {
            if (!query.next())
                return false;
            *row = fileRow(query.record());
            if (progress && ++done % 512 == 0)
                progress(done, total);
            return true;
        };
    }

    int written = 0;
    QString error;
    const bool ok = ini ? writeIniPhrases(fileName, source, &written, &error)
                        : writeTxtPhrases(fileName, source, &written, &error);
    if (progress)
        progress(total, total);
    if (!ok) {
        qWarning() << "export failed:" << error;
        showExportError(this, error);
        return false;
    }
    emit setMessage(QObject::tr("%n phrase(s) have been exported.", "", written));
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
