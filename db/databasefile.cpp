#include "db/databasefile.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

QString withDbSuffix(const QString &name)
{
    return name.right(3).toLower() == QStringLiteral(".db") ? name : name + QStringLiteral(".db");
}

QString backupName(const QString &name)
{
    return name.left(name.size() - 2) + QStringLiteral("bak");
}

bool copyReplacing(const QString &source, const QString &target)
{
    if (QFile::copy(source, target))
        return true;
    if (!QFile::exists(target)) {
        qWarning() << "Cannot copy" << source << "to" << target;
        return false;
    }
    const QString backup = backupName(target);
    if (!QFile::rename(target, backup)) {
        QFile::remove(backup);
        if (!QFile::rename(target, backup)) {
            qWarning() << "Cannot move" << target << "aside to" << backup;
            return false;
        }
    }
    if (QFile::copy(source, target))
        return true;
    qWarning() << "Cannot copy" << source << "to" << target << "- putting the former file back";
    QFile::remove(target);
    QFile::rename(backup, target);
    return false;
}

bool isSameFile(const QString &a, const QString &b)
{
    const QString canonicalA = QFileInfo(a).canonicalFilePath();
    return !canonicalA.isEmpty() && canonicalA == QFileInfo(b).canonicalFilePath();
}

DatabaseCheck openPhraseDatabase(QSqlDatabase &db, const QString &path, QString *error)
{
    db.setDatabaseName(path);
    if (!db.open()) {
        *error = db.lastError().text();
        return DatabaseCheck::CannotOpen;
    }
    // SQLite opens any file lazily; the first read tells whether it is a database at all.
    QSqlQuery probe(db);
    if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
        *error = probe.lastError().text();
        probe.clear();
        db.close();
        return DatabaseCheck::CannotOpen;
    }
    probe.clear();
    const QStringList tables = db.tables(QSql::Tables);
    const bool found = tables.contains(QStringLiteral("TypeText"), Qt::CaseInsensitive);
    return found ? DatabaseCheck::Ok : DatabaseCheck::NoPhraseTable;
}
