#include "exchange/databasewriter.h"

#include "db/databasefile.h"
#include "db/phrasestore.h"
#include "exchange/databasereader.h"
#include "exchange/eventpacer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QSqlDatabase>
#include <QTemporaryFile>

namespace {

bool fail(QString *error, const QString &fileName, const QString &reason)
{
    if (error)
        *error = QObject::tr("Cannot write file %1:\n%2.").arg(QDir::toNativeSeparators(fileName), reason);
    return false;
}

// Fills the new file on a connection of its own; the phrases go in as an import's do, in one transaction.
bool fillDatabase(const QString &path, const QString &templateName, const PhraseRowSource &nextRow, int *count,
                  QString *reason)
{
    const QString connection = QStringLiteral("quillary-export");
    bool filled = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        if (openPhraseDatabase(db, path, reason) != DatabaseCheck::Ok) {
            *reason =
                QObject::tr("the template %1 is not a phrase database").arg(QDir::toNativeSeparators(templateName));
        } else {
            PhraseStore store(connection);
            EventPacer pacer;
            filled = store.begin(reason);
            PhraseRecord row;
            while (filled && nextRow(&row)) {
                filled = store.add(row, reason);
                row = PhraseRecord();
                pacer.step(++*count, 0);
            }
            filled = filled && store.commit(reason);
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return filled;
}

} // namespace

bool writePhraseDatabase(const QString &fileName, const QString &templateName, const PhraseRowSource &nextRow,
                         int *written, QString *error)
{
    if (written)
        *written = 0;
    if (const QString reason = notRegularFileReason(fileName); !reason.isEmpty())
        return fail(error, fileName, reason);
    if (isOpenDatabaseFile(fileName))
        return fail(error, fileName, QObject::tr("it is the database open"));

    QFile source(templateName);
    if (!source.open(QIODevice::ReadOnly))
        return fail(error, fileName,
                    QObject::tr("the template %1 cannot be read: %2")
                        .arg(QDir::toNativeSeparators(templateName), source.errorString()));
    const QFileInfo target(fileName);
    // In the target's folder, so that it takes the target's place by a rename, not a copy.
    QTemporaryFile made(target.absoluteFilePath() + QStringLiteral("-XXXXXX"));
    if (!made.open())
        return fail(error, fileName, made.errorString());
    const QByteArray bytes = source.readAll();
    if (made.write(bytes) != bytes.size() || !made.flush())
        return fail(error, fileName, made.errorString());
    made.close();
    // As a copy of the template would be, or the file it replaces, which a team may share.
    made.setPermissions(target.exists() ? QFile::permissions(fileName) : source.permissions());

    int count = 0;
    QString reason;
    if (!fillDatabase(made.fileName(), templateName, nextRow, &count, &reason))
        return fail(error, fileName, reason);

    const QString backup = backupName(fileName);
    const bool replaces = target.exists();
    if (replaces) {
        QFile::remove(backup);
        QFile existing(fileName);
        if (!existing.rename(backup))
            return fail(error, fileName, existing.errorString());
    }
    QFile complete(made.fileName());
    if (!complete.rename(fileName)) {
        if (replaces)
            QFile::rename(backup, fileName);
        return fail(error, fileName, complete.errorString());
    }
    if (written)
        *written = count;
    return true;
}
