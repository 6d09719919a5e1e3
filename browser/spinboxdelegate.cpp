#include "browser/spinboxdelegate.h"

#include "browser/phrasemodel.h"

#include <QSpinBox>

SpinBoxDelegate::SpinBoxDelegate(QObject *parent)
    : QItemDelegate(parent)
{}

QWidget *SpinBoxDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem & /*option*/,
                                       const QModelIndex & /*index*/) const
{
    auto *editor = new QSpinBox(parent);
    editor->setMinimum(0);
    editor->setMaximum(100);
    return editor;
}

void SpinBoxDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    if (auto *spinBox = qobject_cast<QSpinBox *>(editor))
        spinBox->setValue(index.data(Qt::EditRole).toInt());
}

void SpinBoxDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    auto *spinBox = qobject_cast<QSpinBox *>(editor);
    auto *phrases = qobject_cast<PhraseModel *>(model);
    if (!spinBox || !phrases)
        return;
    // The watcher is not paused: the next poll reloads the table, which is harmless
    // here because the browser keeps the cursor on the phrase.
    spinBox->interpretText();
    phrases->writeField(index.row(), PhraseStore::Rating, spinBox->value());
}

void SpinBoxDelegate::updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                                           const QModelIndex & /*index*/) const
{
    editor->setGeometry(option.rect);
}
