#include "exchange/databasereader.h"

#include "db/databasefile.h"
#include "db/fileidentity.h"
#include "db/sqldialect.h"
#include "db/sqlerrortext.h"
#include "exchange/eventpacer.h"
#include "exchange/phraseinserter.h"

#include <QDir>
#include <QFile>
#include <QObject>
#include <QSqlError>
#include <QSqlQuery>

namespace {

const PhraseStore::Field readFields[] = {PhraseStore::Str,      PhraseStore::Labels, PhraseStore::KeyWord,
                                         PhraseStore::HotKey,   PhraseStore::Html,   PhraseStore::Rating,
                                         PhraseStore::Frequency};

int refuse(ImportReport *report, const QString &text)
{
    if (report)
        report->error = text;
    return -1;
}

QString cannotRead(const QString &fileName, const QString &reason)
{
    return QObject::tr("Cannot read file %1:\n%2.").arg(QDir::toNativeSeparators(fileName), reason);
}

QString refusal(DatabaseCheck check, const QString &fileName, const QString &error)
{
    QString reason = error;
    if (check == DatabaseCheck::CannotOpen)
        return cannotRead(fileName, error);
    if (check == DatabaseCheck::NoPhraseTable && error.isEmpty())
        reason = QObject::tr("it has no table %1").arg(PhraseStore::tableName());
    else if (check == DatabaseCheck::MissingColumns)
        reason = QObject::tr("the phrase table lacks the columns %1").arg(error);
    return QObject::tr("The file %1 is not a phrase database: %2.").arg(QDir::toNativeSeparators(fileName), reason);
}

int readPhrases(const QSqlDatabase &source, const QString &fileName, ImportReport *report, const Progress &progress)
{
    QSqlQuery query(source);
    query.setForwardOnly(true);
    const QString table = PhraseStore::tableName();
    const qint64 total = query.exec(QStringLiteral("SELECT count(*) FROM %1").arg(table)) && query.next()
                             ? query.value(0).toLongLong()
                             : 0;
    QStringList columns;
    for (const PhraseStore::Field field : readFields) {
        const QString name = PhraseStore::fieldName(field);
        const bool number = field == PhraseStore::Rating || field == PhraseStore::Frequency;
        columns << (number ? name : SqlDialect(source).asBytes(name));
    }
    if (!query.exec(QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                        .arg(columns.join(QStringLiteral(", ")), table, PhraseStore::fieldName(PhraseStore::Id))))
        return refuse(report, cannotRead(fileName, sqlErrorText(query.lastError())));

    PhraseInserter inserter;
    EventPacer pacer(progress);
    PhraseRecord phrase;
    qint64 done = 0;
    bool stored = true;
    while (stored && query.next()) {
        phrase.str = textOfBytes(query.value(0));
        phrase.labels = textOfBytes(query.value(1));
        phrase.keyWord = textOfBytes(query.value(2));
        phrase.hotKey = textOfBytes(query.value(3));
        phrase.html = textOfBytes(query.value(4));
        phrase.rating = query.value(5).toInt();
        phrase.frequency = query.value(6).toInt();
        stored = inserter.add(phrase);
        pacer.step(++done, total);
    }
    // A file damaged part way ends the reading early: the phrases before the damage are not kept alone.
    if (stored && query.lastError().isValid())
        return refuse(report, cannotRead(fileName, sqlErrorText(query.lastError())));
    query.finish();
    pacer.finish(total);
    return inserter.finish(report);
}

} // namespace

bool isOpenDatabaseFile(const QString &fileName)
{
    const QSqlDatabase db = QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false);
    const FileIdentity open = fileIdentity(db.databaseName());
    return db.isOpen() && SqlDialect(db).isFile() && open.exists && open == fileIdentity(fileName);
}

QString textOfBytes(const QVariant &value)
{
    // The driver gives a NULL as a null text, an empty BLOB as a null byte array.
    if (value.isNull() && value.type() != QVariant::ByteArray)
        return QString();
    const QByteArray bytes = value.toByteArray();
    return QString::fromUtf8(bytes.constData(), bytes.size());
}

int importDatabase(const QString &fileName, ImportReport *report, const Progress &progress)
{
    if (report)
        *report = ImportReport();
    // Missing, unreadable or no regular file: refused as the other readers refuse it.
    QFile file(fileName);
    if (!openPhraseFile(file, report))
        return -1;
    file.close();
    // Its phrases would be read while the import adds to them, and the reading connection's
    // lock would keep the import from committing.
    if (isOpenDatabaseFile(fileName))
        return refuse(report, QObject::tr("The file %1 is the database open: its phrases are already in it.")
                                  .arg(QDir::toNativeSeparators(fileName)));

    const QString connection = QStringLiteral("quillary-import");
    int n = -1;
    {
        QSqlDatabase source = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        // Reading must not change the file, nor wait long on another program's lock.
        source.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=3000"));
        QString error;
        const DatabaseCheck check = openPhraseDatabase(source, fileName, &error);
        n = check == DatabaseCheck::Ok ? readPhrases(source, fileName, report, progress)
                                       : refuse(report, refusal(check, fileName, error));
        source.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return n;
}
