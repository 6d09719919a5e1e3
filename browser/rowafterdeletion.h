#ifndef ROWAFTERDELETION_H
#define ROWAFTERDELETION_H

#include <QVector>

// Where the cursor goes once rows are deleted: the first row kept at or below the
// cursor, else the last kept row above it.
struct RowAfterDeletion
{
    // The row in the table as it is now; -1 when no row is kept.
    int before = -1;
    // The same row once the deleted ones are gone, for when it cannot be found by its id.
    int after = -1;
};

// `deleted` lists rows in ascending order, each once.
RowAfterDeletion rowAfterDeletion(int current, int rowCount, const QVector<int> &deleted);

#endif // ROWAFTERDELETION_H
