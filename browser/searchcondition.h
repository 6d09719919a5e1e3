#ifndef SEARCHCONDITION_H
#define SEARCHCONDITION_H

#include <QString>

// The SQL condition that finds the search text as a substring of one column,
// ignoring case through the column's lower-case shadow.
QString buildCondition(const QString &column, const QString &text);

// True if the text holds a lower-case Cyrillic letter (а to я).
bool hasCyrillicLower(const QString &text);

// The model filter for the search line: phrase, labels or keyword contain the
// text. Empty text gives the empty filter, which shows every phrase. A text
// that searchTooLong refuses must not get here.
QString searchFilter(const QString &text);

// SQLite refuses LIKE patterns over 50,000 bytes, and its refusal would look like
// a search that found nothing. This many UTF-16 units stay far below that in any
// script, with every character escaped.
constexpr int maxSearchLength = 1000;

// Whether the text is too long to be searched for.
bool searchTooLong(const QString &text);

// What the user is told instead of a search result when the text is too long.
QString searchTooLongNote();

#endif // SEARCHCONDITION_H
