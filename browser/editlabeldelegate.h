#ifndef EDITLABELDELEGATE_H
#define EDITLABELDELEGATE_H

#include <QStyledItemDelegate>

class TypeWatch;

// Labels column: keeps the lower-case copy the search uses in step with the labels.
class EditLabelDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit EditLabelDelegate(TypeWatch *watcher, QObject *parent = nullptr);

    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

private:
    TypeWatch *watcher = nullptr; // not owned; belongs to the browser dock
};

#endif // EDITLABELDELEGATE_H
