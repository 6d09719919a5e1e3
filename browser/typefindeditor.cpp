#include "browser/phrasemodel.h"
#include "browser/sqltable.h"
#include "browser/typefind.h"
#include "db/tracecategories.h"

// The browser's side of the editor: the phrase it shows, its write-back, and the
// questions when the file no longer holds what an edit began from.

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
    qCDebug(lcWatch) << "writeHtml" << htmlId << stored;
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
        // The reload left no current phrase: making one current sends it to the editor.
        if (target.isValid()) {
            table->setCurrentIndex(model->index(rowOfId(target, current.row()), qMax(0, current.column())));
            table->scrollTo(table->currentIndex());
        } else {
            showCurrent();
        }
    }
}
