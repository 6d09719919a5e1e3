#ifndef EDITLABELDELEGATE_H
#define EDITLABELDELEGATE_H

#include "browser/phrasewritedelegate.h"

// Labels column: keeps the lower-case copy the search uses in step with the labels.
class EditLabelDelegate : public PhraseWriteDelegate
{
    Q_OBJECT

public:
    explicit EditLabelDelegate(TypeWatch *watcher, QObject *parent = nullptr);

    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
};

#endif // EDITLABELDELEGATE_H
