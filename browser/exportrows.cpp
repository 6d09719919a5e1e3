#include "browser/exportrows.h"

#include <algorithm>

QVector<int> rowsOfCells(QVector<int> cellRows)
{
    std::sort(cellRows.begin(), cellRows.end());
    cellRows.erase(std::unique(cellRows.begin(), cellRows.end()), cellRows.end());
    return cellRows;
}

QVector<int> exportRows(const QVector<int> &cellRows, int rowCount, int pendingRow)
{
    QVector<int> rows = cellRows.size() > 1 ? rowsOfCells(cellRows) : QVector<int>();
    if (rows.isEmpty()) {
        for (int row = 0; row < rowCount; ++row) {
            if (row != pendingRow)
                rows << row;
        }
    }
    return rows;
}
