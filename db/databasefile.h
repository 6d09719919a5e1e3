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
// a failure never leaves the target missing. error, when given, says why it failed.
bool copyReplacing(const QString &source, const QString &target, QString *error = nullptr);

// The database a start opens: `stored` as the settings hold it, or the user's own
// org.db when none is stored or the stored one is the template in `programFolder`,
// which is never worked on directly. A missing file is made a copy of that template.
QString startupDatabase(const QString &stored, const QString &programFolder);

// Whether both names lead to the same file on disk.
bool isSameFile(const QString &a, const QString &b);

// Why path cannot be taken for a file: it names a folder, a FIFO, a device or a
// socket. Found without opening it, which for a FIFO would wait for a writer.
// Empty for a regular file and for a path that leads nowhere.
QString notRegularFileReason(const QString &path);

enum class DatabaseCheck
{
    Ok,
    CannotOpen,
    NoPhraseTable,
    MissingColumns,
    // The id column is not SQLite's own row key (INTEGER PRIMARY KEY), so ids may
    // repeat, be missing or not be integers, and a write by id could reach another phrase.
    IdNotIntegerKey,
    // The server wants a password that neither the address nor libpq's own places give.
    PasswordNeeded,
};

// Opens db on path and checks that it is an SQLite file holding the phrase table
// (named TypeText in any case) with every column the program uses and an integer
// row key for id. On CannotOpen the connection is closed again and error holds
// the driver's text, or says what the path is when it is not a regular file. On
// NoPhraseTable it stays open, and error is empty or says that TypeText is a view.
// On MissingColumns it is closed and error names them; on IdNotIntegerKey it is
// closed and error says how id is declared.
// A server address (postgresql://...) is opened on the server instead; db must then be a
// PostgreSQL connection (see phraseConnection).
DatabaseCheck openPhraseDatabase(QSqlDatabase &db, const QString &path, QString *error);

// The same checks on a connection of their own, which is gone again afterwards: for a
// file that is to take the place of the one open.
DatabaseCheck checkPhraseDatabase(const QString &path, QString *error);

// Writes the database open on db to target, from the connection itself, so that it
// works also when the file was removed under it. An existing target is moved to its
// backup name first and put back if the copy fails.
bool copyOpenDatabase(const QSqlDatabase &db, const QString &target, QString *error);

// Whether the program may write the file open on db: the file itself, its folder
// (for SQLite's journal beside it) and the connection.
bool isWritableDatabase(const QSqlDatabase &db);

#endif // DATABASEFILE_H
