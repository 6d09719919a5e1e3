#include "browser/noeditdelegate.h"

NoEditDelegate::NoEditDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
{}

QWidget *NoEditDelegate::createEditor(QWidget * /*parent*/, const QStyleOptionViewItem & /*option*/,
                                      const QModelIndex & /*index*/) const
{
    return nullptr;
}
