#include "browser/editlabeldelegate.h"

#include "db/typewatch.h"

#include <QMetaProperty>

namespace {

constexpr int labelLowerColumn = 10;

} // namespace

EditLabelDelegate::EditLabelDelegate(TypeWatch *watcher, QObject *parent)
    : QStyledItemDelegate(parent)
    , watcher(watcher)
{}

void EditLabelDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    const QString text = editor->metaObject()->userProperty().read(editor).toString();
    if (text == index.data(Qt::DisplayRole).toString())
        return;

    // The model stores each field as it is set; no submit needed.
    model->setData(index, text, Qt::EditRole);
    model->setData(index.sibling(index.row(), labelLowerColumn), text.toLower(), Qt::EditRole);
    if (watcher)
        watcher->pause();
}
