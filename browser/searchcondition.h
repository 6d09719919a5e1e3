#ifndef SEARCHCONDITION_H
#define SEARCHCONDITION_H

#include <QString>

// The SQL condition that finds the search text as a substring of one column,
// ignoring case through the column's lower-case shadow.
QString buildCondition(const QString &column, const QString &text);

// True if the text holds a lower-case Cyrillic letter (а to я).
bool hasCyrillicLower(const QString &text);

// The model filter for the search line: phrase, labels or keyword contain the
// text. Empty text gives the empty filter, which shows every phrase.
QString searchFilter(const QString &text);

#endif // SEARCHCONDITION_H
