#include "browser/editstrdelegate.h"

#include "app/globals.h"
#include "browser/phrasemodel.h"
#include "db/typewatch.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMetaProperty>
#include <QMimeData>
#include <QPainter>

EditStrDelegate::EditStrDelegate(TypeWatch *watcher, QObject *parent)
    : QStyledItemDelegate(parent)
    , watcher(watcher)
{}

void EditStrDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyledItemDelegate::paint(painter, option, index);

    const QMimeData *mime = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    if (!mime || !mime->hasFormat(clipboardFormat))
        return;
    // The full phrase: a long one shows only its start in the cell.
    if (mime->text() != index.data(Qt::EditRole).toString())
        return;

    painter->save();
    painter->setPen(QPen(QBrush(Qt::green, Qt::SolidPattern), 2.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    const QRect cell = option.rect;
    const QRectF frame(QPointF(cell.left() + 1, cell.top() + 1), QPointF(cell.right() - 1, cell.bottom() - 1));
    painter->drawRoundedRect(frame, 4, 4, Qt::RelativeSize);
    painter->restore();
}

void EditStrDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    const QString text = editor->metaObject()->userProperty().read(editor).toString();
    // Compared with the stored value: the cell shows only the start of a long one.
    if (text == index.data(Qt::EditRole).toString())
        return;

    // Edited as plain text, the phrase no longer matches its old rich text.
    auto *phrases = qobject_cast<PhraseModel *>(model);
    if (!phrases || !phrases->writeText(index.row(), text, QString(QLatin1String(""))))
        return;
    // setModelData is const by Qt's signature, the signal is not.
    emit const_cast<EditStrDelegate *>(this)->setHtml(text);
    // Our own write must not come back as an outside change of the file.
    if (watcher)
        watcher->pause();
}
