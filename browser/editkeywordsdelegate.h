#ifndef EDITKEYWORDSDELEGATE_H
#define EDITKEYWORDSDELEGATE_H

#include "browser/phrasewritedelegate.h"

// Keyword ("Comment") column: edited in a ScanLineEdit, so typing keywords teaches
// the keyboard layout table; the lower-case copy is rewritten on every commit.
class EditKeyWordsDelegate : public PhraseWriteDelegate
{
    Q_OBJECT

public:
    explicit EditKeyWordsDelegate(TypeWatch *watcher, QObject *parent = nullptr);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const override;
};

#endif // EDITKEYWORDSDELEGATE_H
