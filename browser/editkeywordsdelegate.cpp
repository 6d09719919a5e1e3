#include "browser/editkeywordsdelegate.h"

#include "browser/scanlineedit.h"
#include "db/typewatch.h"

namespace {

constexpr int keyLowerColumn = 8;

} // namespace

EditKeyWordsDelegate::EditKeyWordsDelegate(TypeWatch *watcher, QObject *parent)
    : QStyledItemDelegate(parent)
    , watcher(watcher)
{}

QWidget *EditKeyWordsDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem & /*option*/,
                                            const QModelIndex & /*index*/) const
{
    auto *editor = new ScanLineEdit(parent);
    editor->setFrame(false);
    return editor;
}

void EditKeyWordsDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    if (auto *edit = qobject_cast<QLineEdit *>(editor))
        edit->setText(index.data(Qt::EditRole).toString());
}

void EditKeyWordsDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    const auto *edit = qobject_cast<QLineEdit *>(editor);
    if (!edit)
        return;
    const QString text = edit->text();
    model->setData(index, text, Qt::EditRole);
    model->setData(index.sibling(index.row(), keyLowerColumn), text.toLower(), Qt::EditRole);
    if (watcher)
        watcher->pause();
}

void EditKeyWordsDelegate::updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                                                const QModelIndex & /*index*/) const
{
    editor->setGeometry(option.rect);
}
