#ifndef DATABASEFILE_H
#define DATABASEFILE_H

#include <QString>

class QSqlDatabase;

// "phrases" becomes "phrases.db"; a name that already ends in .db in any case is kept.
QString withDbSuffix(const QString &name);

// letters.db gives letters.bak: the last two characters give way to "bak".
QString backupName(const QString &name);

// Copies source to target. An existing target is first moved to its backup name,
// replacing an older backup; if the copy then fails, the moved file is put back, so
// a failure never leaves the target missing.
bool copyReplacing(const QString &source, const QString &target);

// Whether both names lead to the same file on disk.
bool isSameFile(const QString &a, const QString &b);

enum class DatabaseCheck
{
    Ok,
    CannotOpen,
    NoPhraseTable,
};

// Opens db on path and checks that it is an SQLite file holding the phrase table
// (named TypeText in any case). On CannotOpen the connection is closed again and
// error holds the driver's text; on NoPhraseTable it stays open.
DatabaseCheck openPhraseDatabase(QSqlDatabase &db, const QString &path, QString *error);

#endif // DATABASEFILE_H
