#include "browser/savedsort.h"

#include <QDataStream>

SavedSort SavedSort::fromHeaderState(const QByteArray &state)
{
    // The state opens with a marker, a version, the orientation and then the sort
    // indicator: its order, its column and whether it is shown.
    QDataStream in(state);
    qint32 marker = 0, version = 0, orientation = 0, order = 0, column = 0;
    bool shown = false;
    in >> marker >> version >> orientation >> order >> column >> shown;
    SavedSort sort;
    // Restoring a state sorts even when no header was clicked: then by the id, newest first.
    if (in.status() != QDataStream::Ok || marker != 0xff || version != 0 || !shown || column < 0 ||
        (order != Qt::AscendingOrder && order != Qt::DescendingOrder))
        return sort;
    sort.column = column;
    sort.order = Qt::SortOrder(order);
    return sort;
}
