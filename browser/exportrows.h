#ifndef EXPORTROWS_H
#define EXPORTROWS_H

#include <QVector>

// Each row once, in table order, from the rows of the selected cells in any order.
QVector<int> rowsOfCells(QVector<int> cellRows);

// The rows an export writes: those of the selected cells, or every listed row but the
// empty one Insert or Append left when at most one cell is selected, which is only the cursor.
QVector<int> exportRows(const QVector<int> &cellRows, int rowCount, int pendingRow);

#endif // EXPORTROWS_H
