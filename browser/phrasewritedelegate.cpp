#include "browser/phrasewritedelegate.h"

#include "browser/phrasemodel.h"
#include "db/typewatch.h"

#include <QMetaProperty>

PhraseWriteDelegate::PhraseWriteDelegate(TypeWatch *watcher, QObject *parent)
    : QStyledItemDelegate(parent)
    , watcher(watcher)
{}

bool PhraseWriteDelegate::writeThrough(QAbstractItemModel *model, const std::function<bool(PhraseModel &)> &write) const
{
    auto *phrases = qobject_cast<PhraseModel *>(model);
    if (!phrases || !write(*phrases))
        return false;
    if (watcher)
        watcher->pause();
    return true;
}

bool PhraseWriteDelegate::textChanged(QWidget *editor, const QModelIndex &index, QString *text)
{
    *text = editor->metaObject()->userProperty().read(editor).toString();
    return *text != index.data(Qt::EditRole).toString();
}
