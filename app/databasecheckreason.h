#ifndef DATABASECHECKREASON_H
#define DATABASECHECKREASON_H

#include <QString>

enum class DatabaseCheck;

// Why a file failed the checks of a phrase database, for the window's and the command
// line's messages, which each put it into a frame of their own naming the file.
struct DatabaseCheckReason
{
    // The file opened but holds no usable phrase table, rather than not opening at all.
    bool notPhrases = false;
    // No table of that name at all, and nothing else to say: the window and the command
    // line word this one each in their own way, and `text` is empty.
    bool noTable = false;
    QString text;
};

// `error` is what the check filled in.
DatabaseCheckReason describe(DatabaseCheck check, const QString &error);

#endif // DATABASECHECKREASON_H
