#include "browser/editstrdelegate.h"

#include "browser/phrasemodel.h"
#include "browser/phrasepayload.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>

EditStrDelegate::EditStrDelegate(TypeWatch *watcher, QObject *parent)
    : PhraseWriteDelegate(watcher, parent)
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
    QString text;
    if (!textChanged(editor, index, &text))
        return;
    writeThrough(model, [&](PhraseModel &phrases) {
        // Edited as plain text, the phrase no longer matches its old rich text.
        if (!phrases.writeText(index.row(), text, QString(QLatin1String(""))))
            return false;
        // setModelData is const by Qt's signature, the signal is not.
        emit const_cast<EditStrDelegate *>(this)->setHtml(text);
        return true;
    });
}
