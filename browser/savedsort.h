#ifndef SAVEDSORT_H
#define SAVEDSORT_H

#include <QByteArray>
#include <Qt>

// The sort a phrase table's header keeps in its saved state, which the window
// restores at start. Read without a widget, so that the commands without a window
// list phrases in the order the window shows them.
struct SavedSort
{
    int column = -1; // -1: the file's own order, as on the first start
    Qt::SortOrder order = Qt::AscendingOrder;

    static SavedSort fromHeaderState(const QByteArray &state);
};

#endif // SAVEDSORT_H
