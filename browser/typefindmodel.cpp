#include "browser/editkeywordsdelegate.h"
#include "browser/editlabeldelegate.h"
#include "browser/editstrdelegate.h"
#include "browser/noeditdelegate.h"
#include "browser/phrasemodel.h"
#include "browser/spinboxdelegate.h"
#include "browser/sqltable.h"
#include "browser/typefind.h"
#include "db/databasefile.h"
#include "db/serverdatabase.h"
#include "db/servernotices.h"
#include "db/typewatch.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>

#include <algorithm>

// The browser's model: set up on the database opened, built anew when its driver changes,
// with the delegates that write through it and whatever tells of other people's changes.

namespace {
const PhraseStore::Field shownFields[] = {PhraseStore::Str, PhraseStore::Labels, PhraseStore::KeyWord,
                                          PhraseStore::Rating, PhraseStore::Frequency};
} // namespace

void TypeFind::connectModel()
{
    connect(model, &PhraseModel::writeFailed, this, &TypeFind::reportWriteFailure);
    connect(model, &PhraseModel::phraseAdded, this, &TypeFind::showStoredPhrase);
    connect(model, &PhraseModel::writeConflict, this, &TypeFind::queueConflict);
    connect(model, &PhraseModel::notice, this, &TypeFind::setMessage);
}

void TypeFind::connectSelection()
{
    connect(table->selectionModel(), &QItemSelectionModel::currentChanged, this, &TypeFind::currentCh);
    connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this, &TypeFind::selectCh);
}

void TypeFind::noteLater(const QString &note)
{
    // Before the window is wired, nobody would hear it: it waits for the wiring.
    heldNote = signalsConnected ? QString() : note;
    if (signalsConnected && !note.isEmpty())
        QMetaObject::invokeMethod(
            this, [this, note] { emit setMessage(note); }, Qt::QueuedConnection);
}

void TypeFind::replaceModel(const QSqlDatabase &db)
{
    PhraseModel *old = model;
    QItemSelectionModel *oldSelection = table->selectionModel();
    model = new PhraseModel(nullptr, db);
    connectModel();
    table->setModel(model);
    if (signalsConnected)
        connectSelection();
    oldSelection->deleteLater();
    old->deleteLater();
}

void TypeFind::setupModel()
{
    // A new file keeps the column layout the user made, where the columns match.
    const QByteArray layout = table->horizontalHeader()->saveState();
    const int oldColumns = table->horizontalHeader()->count();
    // A file and a server need different drivers, and a model keeps its connection for life.
    const QSqlDatabase db = QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false);
    if (db.driverName() != model->database().driverName())
        replaceModel(db);
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

    // The file the model reads, whoever opened it under that name; a server tells of changes itself.
    if (isServerConnection(db)) {
        notices->setConnection(db.connectionName());
        if (!isSearchIndexed(db))
            noteLater(QObject::tr("The server has no search indexes: each search reads every phrase."));
    } else {
        watcher->addFile(model->database().databaseName());
        watcher->start(false);
    }

    setHeaderTexts();
}
