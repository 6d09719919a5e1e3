#include "browser/editlabeldelegate.h"

#include "browser/phrasemodel.h"

EditLabelDelegate::EditLabelDelegate(TypeWatch *watcher, QObject *parent)
    : PhraseWriteDelegate(watcher, parent)
{}

void EditLabelDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    QString text;
    if (!textChanged(editor, index, &text))
        return;
    writeThrough(model,
                 [&](PhraseModel &phrases) { return phrases.writeField(index.row(), PhraseStore::Labels, text); });
}
