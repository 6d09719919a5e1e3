#ifndef EDITSTRDELEGATE_H
#define EDITSTRDELEGATE_H

#include "browser/phrasewritedelegate.h"

// Phrase column: frames the phrase this program last copied, and an edit of the
// plain text drops the phrase's rich text and keeps its lower-case copy in step.
class EditStrDelegate : public PhraseWriteDelegate
{
    Q_OBJECT

public:
    explicit EditStrDelegate(TypeWatch *watcher, QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

signals:
    void setHtml(const QString &str);
};

#endif // EDITSTRDELEGATE_H
