#include "db/databasefile.h"

#include "db/impatientconnection.h"
#include "db/phraseconnection.h"
#include "db/phrasestore.h"
#include "db/serveraddress.h"
#include "db/serverdatabase.h"
#include "db/sqlerrortext.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QStringList>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

QString withDbSuffix(const QString &name)
{
    return name.right(3).toLower() == QStringLiteral(".db") ? name : name + QStringLiteral(".db");
}

QString backupName(const QString &name)
{
    return name.left(name.size() - 2) + QStringLiteral("bak");
}

bool copyReplacing(const QString &source, const QString &target, QString *error)
{
    QFile from(source);
    if (from.copy(target))
        return true;
    if (error)
        *error = from.errorString();
    if (!QFile::exists(target)) {
        qWarning() << "Cannot copy" << source << "to" << target;
        return false;
    }
    const QString backup = backupName(target);
    QFile existing(target);
    if (!existing.rename(backup)) {
        QFile::remove(backup);
        if (!existing.rename(backup)) {
            if (error)
                *error = existing.errorString();
            qWarning() << "Cannot move" << target << "aside to" << backup;
            return false;
        }
    }
    if (from.copy(target))
        return true;
    if (error)
        *error = from.errorString();
    qWarning() << "Cannot copy" << source << "to" << target << "- putting the former file back";
    QFile::remove(target);
    QFile::rename(backup, target);
    return false;
}

QString startupDatabase(const QString &stored, const QString &programFolder)
{
    if (ServerAddress::isServerAddress(stored))
        return stored;
    const QString userFolder =
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + QStringLiteral("/Quillary");
    const QString starter = programFolder + QStringLiteral("/org.db");
    const QString name = stored.isNull() || stored == starter ? userFolder + QStringLiteral("/org.db") : stored;
    if (!QFile::exists(name)) {
        if (!QDir(userFolder).exists())
            QDir().mkpath(userFolder);
        if (!QFile::copy(starter, name))
            qWarning() << "Cannot copy the starter database to" << name;
    }
    return name;
}

bool isSameFile(const QString &a, const QString &b)
{
    const QString canonicalA = QFileInfo(a).canonicalFilePath();
    return !canonicalA.isEmpty() && canonicalA == QFileInfo(b).canonicalFilePath();
}

QString notRegularFileReason(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat info;
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0 || S_ISREG(info.st_mode))
        return QString();
    if (S_ISDIR(info.st_mode))
        return QObject::tr("it is a folder, not a regular file");
    if (S_ISFIFO(info.st_mode))
        return QObject::tr("it is a FIFO (named pipe), not a regular file");
    if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode))
        return QObject::tr("it is a device, not a regular file");
    return QObject::tr("it is not a regular file");
#else
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists() || info.isFile())
        return QString();
    return info.isDir() ? QObject::tr("it is a folder, not a regular file") : QObject::tr("it is not a regular file");
#endif
}

namespace {

// Uses and edits find a phrase by id. Only SQLite's own row key is sure to be a
// distinct integer in every row, given by the database to every new one.
QString idKeyProblem(const QSqlDatabase &db)
{
    QSqlQuery pragma(db);
    if (!pragma.exec(QStringLiteral("PRAGMA table_info(%1)").arg(PhraseStore::tableName())))
        return QString();
    QString type;
    bool key = false;
    int keyColumns = 0;
    while (pragma.next()) {
        const bool inKey = pragma.value(5).toInt() > 0;
        keyColumns += inKey;
        if (pragma.value(1).toString().compare(PhraseStore::fieldName(PhraseStore::Id), Qt::CaseInsensitive) == 0) {
            type = pragma.value(2).toString();
            key = inKey;
        }
    }
    // Any other key, a WITHOUT ROWID table's included, is kept in an index of its own.
    bool keyIndex = false;
    if (pragma.exec(QStringLiteral("PRAGMA index_list(%1)").arg(PhraseStore::tableName()))) {
        while (pragma.next())
            keyIndex = keyIndex || pragma.value(3).toString() == QLatin1String("pk");
    }
    if (key && keyColumns == 1 && !keyIndex && type.compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0)
        return QString();
    const QString declared =
        (QStringLiteral("id ") + type + (key ? QStringLiteral(" PRIMARY KEY") : QString())).simplified();
    return QObject::tr("the id column of the phrase table is declared \"%1\", not as an INTEGER PRIMARY KEY that "
                       "the database assigns")
        .arg(declared);
}

} // namespace

DatabaseCheck openPhraseDatabase(QSqlDatabase &db, const QString &path, QString *error)
{
    if (ServerAddress::isServerAddress(path))
        return openServerDatabase(db, path, error);
    db.setDatabaseName(path);
    // SQLite would take a device for an empty database and say nothing useful of a folder or a FIFO.
    if (const QString reason = notRegularFileReason(path); !reason.isEmpty()) {
        db.close();
        *error = reason;
        return DatabaseCheck::CannotOpen;
    }
    if (!db.open()) {
        *error = sqlErrorText(db.lastError());
        return DatabaseCheck::CannotOpen;
    }
    // SQLite opens any file lazily; the first read tells whether it is a database at all.
    QSqlQuery probe(db);
    if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
        *error = sqlErrorText(probe.lastError());
        probe.clear();
        db.close();
        return DatabaseCheck::CannotOpen;
    }
    probe.clear();
    const QStringList tables = db.tables(QSql::Tables);
    if (!tables.contains(PhraseStore::tableName(), Qt::CaseInsensitive)) {
        if (db.tables(QSql::Views).contains(PhraseStore::tableName(), Qt::CaseInsensitive))
            *error = QObject::tr("%1 is a view, not a table").arg(PhraseStore::tableName());
        return DatabaseCheck::NoPhraseTable;
    }
    // Written to by position, a table lacking a column would take values into the wrong ones.
    const QStringList missing = PhraseStore::missingFields(db);
    if (!missing.isEmpty()) {
        *error = missing.join(QStringLiteral(", "));
        db.close();
        return DatabaseCheck::MissingColumns;
    }
    *error = idKeyProblem(db);
    if (error->isEmpty())
        return DatabaseCheck::Ok;
    db.close();
    return DatabaseCheck::IdNotIntegerKey;
}

DatabaseCheck checkPhraseDatabase(const QString &path, QString *error)
{
    const QString connection = QStringLiteral("quillary-check");
    DatabaseCheck check = DatabaseCheck::CannotOpen;
    {
        QSqlDatabase db = phraseConnection(path, connection);
        check = openPhraseDatabase(db, path, error);
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return check;
}

bool copyOpenDatabase(const QSqlDatabase &db, const QString &target, QString *error)
{
    const QString backup = backupName(target);
    const bool movedAside = QFile::exists(target);
    if (movedAside) {
        QFile::remove(backup);
        QFile existing(target);
        if (!existing.rename(backup)) {
            *error = existing.errorString();
            return false;
        }
    }
    QSqlQuery vacuum(db);
    vacuum.prepare(QStringLiteral("VACUUM INTO ?"));
    vacuum.addBindValue(target);
    if (vacuum.exec())
        return true;
    *error = sqlErrorText(vacuum.lastError());
    QFile::remove(target);
    if (movedAside)
        QFile::rename(backup, target);
    return false;
}

bool isWritableDatabase(const QSqlDatabase &db)
{
    if (isServerConnection(db))
        return db.isOpen() && isWritableServer(db);
    const QFileInfo file(db.databaseName());
    if (!db.isOpen() || !file.isWritable() || !QFileInfo(file.absolutePath()).isWritable())
        return false;
    // SQLite may open a file read-only although the file system would allow writing:
    // only a write tells. This one is taken back at once.
    QSqlQuery probe(db);
    if (!probe.exec(QStringLiteral("PRAGMA user_version")) || !probe.next())
        return false;
    const QString version = probe.value(0).toString();
    // Another copy's write lock already tells the file is writable: no need to wait it out.
    bool began = false;
    QString refusal;
    {
        const ImpatientConnection impatient(db);
        began = probe.exec(QStringLiteral("BEGIN IMMEDIATE"));
        refusal = probe.lastError().nativeErrorCode();
    }
    if (!began)
        return refusal != QLatin1String("8"); // SQLITE_READONLY
    const bool wrote = probe.exec(QStringLiteral("PRAGMA user_version = ") + version);
    const bool readOnly = !wrote && probe.lastError().nativeErrorCode() == QLatin1String("8");
    probe.exec(QStringLiteral("ROLLBACK"));
    return !readOnly;
}
