#ifndef NOEDITDELEGATE_H
#define NOEDITDELEGATE_H

#include <QStyledItemDelegate>

// Usage count column: counted by copying, never typed in.
class NoEditDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit NoEditDelegate(QObject *parent = nullptr);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

#endif // NOEDITDELEGATE_H
