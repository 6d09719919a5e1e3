#include "browser/emptyrecord.h"

#include <algorithm>

bool isEmptyRecord(const PhraseRecord &record)
{
    return record.str.isEmpty() && record.labels.isEmpty() && record.keyWord.isEmpty() && record.hotKey.isEmpty() &&
           record.html.isEmpty() && record.rating == 0 && record.frequency == 0;
}

QVector<PhraseRecord> withoutEmptyRecords(QVector<PhraseRecord> records)
{
    records.erase(std::remove_if(records.begin(), records.end(), isEmptyRecord), records.end());
    return records;
}
