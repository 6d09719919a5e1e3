#include "browser/editlabeldelegate.h"

#include "browser/phrasemodel.h"
#include "db/typewatch.h"

#include <QMetaProperty>

EditLabelDelegate::EditLabelDelegate(TypeWatch *watcher, QObject *parent)
    : QStyledItemDelegate(parent)
    , watcher(watcher)
{}

void EditLabelDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    const QString text = editor->metaObject()->userProperty().read(editor).toString();
    // Compared with the stored value: the cell shows only the start of a long one.
    if (text == index.data(Qt::EditRole).toString())
        return;

    auto *phrases = qobject_cast<PhraseModel *>(model);
    if (!phrases || !phrases->writeField(index.row(), PhraseStore::Labels, text))
        return;
    if (watcher)
        watcher->pause();
}
