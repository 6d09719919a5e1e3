#include "browser/editkeywordsdelegate.h"

#include "browser/phrasemodel.h"
#include "browser/scanlineedit.h"

EditKeyWordsDelegate::EditKeyWordsDelegate(TypeWatch *watcher, QObject *parent)
    : PhraseWriteDelegate(watcher, parent)
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
    writeThrough(model, [&](PhraseModel &phrases) {
        return phrases.writeField(index.row(), PhraseStore::KeyWord, edit->text());
    });
}

void EditKeyWordsDelegate::updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                                                const QModelIndex & /*index*/) const
{
    editor->setGeometry(option.rect);
}
