#include "browser/rowafterdeletion.h"

#include <algorithm>

RowAfterDeletion rowAfterDeletion(int current, int rowCount, const QVector<int> &deleted)
{
    const auto isDeleted = [&deleted](int row) { return std::binary_search(deleted.cbegin(), deleted.cend(), row); };
    int row = current;
    while (row < rowCount && isDeleted(row))
        ++row;
    if (row == rowCount) {
        row = current;
        while (row >= 0 && isDeleted(row))
            --row;
    }
    RowAfterDeletion result;
    result.before = row;
    result.after = row;
    for (const int gone : deleted) {
        if (gone < row)
            --result.after;
    }
    return result;
}
