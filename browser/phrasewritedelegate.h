#ifndef PHRASEWRITEDELEGATE_H
#define PHRASEWRITEDELEGATE_H

#include <QStyledItemDelegate>

#include <functional>

class PhraseModel;
class TypeWatch;

// A cell whose edit is written through the phrase model; after a write the watcher
// lets the program's own change of the file pass unreported.
class PhraseWriteDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit PhraseWriteDelegate(TypeWatch *watcher, QObject *parent = nullptr);

protected:
    // True if `write` stored into the phrase model behind `model`.
    bool writeThrough(QAbstractItemModel *model, const std::function<bool(PhraseModel &)> &write) const;
    // The editor's text, compared with the stored value: the cell shows only the start of a long one.
    static bool textChanged(QWidget *editor, const QModelIndex &index, QString *text);

private:
    TypeWatch *watcher = nullptr; // not owned; belongs to the browser dock
};

#endif // PHRASEWRITEDELEGATE_H
