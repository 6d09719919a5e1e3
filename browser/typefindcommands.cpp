#include "browser/actionstate.h"
#include "browser/busyscope.h"
#include "browser/emptyrecord.h"
#include "browser/exportrows.h"
#include "browser/phrasemodel.h"
#include "browser/rowafterdeletion.h"
#include "browser/sqltable.h"
#include "browser/typefind.h"
#include "db/servernotices.h"
#include "db/tracecategories.h"
#include "db/watchpause.h"
#include "exchange/databasewriter.h"
#include "exchange/eventpacer.h"
#include "exchange/htmlsanitizer.h"
#include "exchange/phrasewriters.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDebug>
#include <QItemSelectionModel>
#include <QMessageBox>
#include <QMimeData>

#include <algorithm>

// The phrase commands: when they are enabled, new rows, copy, paste, delete and export.

void TypeFind::applyActionState(bool tableFocus, bool nothingSelected)
{
    ActionInputs in;
    in.tableFocus = tableFocus;
    if (tableFocus) {
        in.currentValid = currentIsValid();
        in.currentSelected = in.currentValid && table->selectionModel()->isSelected(table->currentIndex());
        in.nothingSelected = nothingSelected;
        in.readOnly = model->isReadOnly();
        const QMimeData *data = QApplication::clipboard()->mimeData();
        in.clipboardHasText = data && data->hasText();
    }
    const ActionState state = actionState(in);
    deletePhraseAction->setEnabled(state.deletePhrase);
    copyPhraseAction->setEnabled(state.copyPhrase);
    copyCellsAction->setEnabled(state.copyCells);
    if (state.pastePhrase)
        pastePhraseAction->setEnabled(*state.pastePhrase);
}

void TypeFind::selectCh(const QItemSelection &selected)
{
    if (!selected.isEmpty() && table->selectionModel()->selectedIndexes().size() >= 2)
        emit setMessage(QObject::tr("%n phrase(s) have been chosen.", "", rowsOfCells(selectedCellRows()).size()));
    applyActionState(true, selected.isEmpty());
}

void TypeFind::enableChanged(bool tableFocus)
{
    if (table->hasFocus()) {
        watcher->start(false);
        notices->start();
    } else {
        watcher->stop(false);
        notices->stop();
    }

    if (tableFocus)
        selectCh(table->selectionModel()->selection());
    else
        applyActionState(false, true);
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
    const WatchPause pause(watcher);
    QVector<qint64> ids;
    QScopedPointer<BusyScope> busy(progressBar && records.size() > 1000 ? new BusyScope(progressBar) : nullptr);
    EventPacer pacer(busy ? busy->progress() : Progress());
    const auto step = [&pacer](qint64 done, qint64 total) { pacer.step(done, total); };
    if (model->insertPhrases(records, &ids, step)) {
        // The file orders new phrases by their ids; the cursor follows the first one.
        model->select();
        table->clearSelection();
        table->setCurrentIndex(model->index(rowOfId(ids.value(0), 0), c));
    }
}

void TypeFind::pastePhrase()
{
    const QMimeData *mime = QApplication::clipboard()->mimeData();
    dropPendingRow();
    if (!mime || !currentIsValid() || model->isReadOnly())
        return;

    if (mime->hasFormat(clipboardFormat)) {
        const QVector<PhraseRecord> records = withoutEmptyRecords(decodePhraseRecords(mime->data(clipboardFormat)));
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

    const QVector<int> rows = cells.isEmpty() ? QVector<int>{r} : rowsOfCells(selectedCellRows());
    if (askDelete(rows.size()))
        return;

    // Found again by its id once the table has reloaded.
    const RowAfterDeletion target = rowAfterDeletion(r, n, rows);
    const QVariant targetId = target.before >= 0 ? cell(target.before, PhraseStore::Id) : QVariant();

    QApplication::setOverrideCursor(Qt::WaitCursor);
    const WatchPause pause(watcher);
    const bool removed = model->removePhrases(rows);
    QApplication::restoreOverrideCursor();

    // A refused deletion leaves its reason in the status bar and the table as it is.
    if (removed) {
        findStart(true);
        if (targetId.isValid())
            table->setCurrentIndex(model->index(rowOfId(targetId, target.after), c));
    }
}

// Export ----------------------------------------------------------------------

QVector<int> TypeFind::selectedCellRows() const
{
    QVector<int> rows;
    for (const QModelIndex &index : table->selectionModel()->selectedIndexes())
        rows << index.row();
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

bool TypeFind::exportPhrases(const QString &fileName, PhraseFormat format, const Progress &progress,
                             const QString &templateName)
{
    const QVector<int> rows = exportRows(selectedCellRows(), model->rowCount(), model->pendingRow());
    int written = 0;
    int notWhole = 0;
    QString error;
    const PhraseRowSource source = model->phraseSource(rows, progress);
    const bool ok = format == PhraseFormat::Database
                        ? writePhraseDatabase(fileName, templateName, source, &written, &error)
                        : writePhraseFile(fileName, format == PhraseFormat::Ini, source, &written, &error, &notWhole);
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

bool TypeFind::exportTxt(const QString &fileName, const Progress &progress)
{
    return exportPhrases(fileName, PhraseFormat::Txt, progress);
}

bool TypeFind::exportIni(const QString &fileName, const Progress &progress)
{
    return exportPhrases(fileName, PhraseFormat::Ini, progress);
}

bool TypeFind::exportDatabase(const QString &fileName, const QString &templateName, const Progress &progress)
{
    return exportPhrases(fileName, PhraseFormat::Database, progress, templateName);
}
