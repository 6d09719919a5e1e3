#include "db/typewatch.h"

#include "db/impatientconnection.h"
#include "db/tracecategories.h"

#include <QDebug>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTimer>

#include <algorithm>

TypeWatch::TypeWatch(QObject *parent)
    : QObject(parent)
    , timer(new QTimer(this))
{
    connect(timer, &QTimer::timeout, this, &TypeWatch::period);
}

TypeWatch::~TypeWatch()
{
    timer->stop();
}

QDateTime TypeWatch::modificationTime(const QString &name)
{
    // A missing file gives an invalid time, which equals only another invalid time,
    // so a deletion is reported once and the file's return once more.
    const QFileInfo info(name);
    return info.exists() ? info.lastModified() : QDateTime();
}

qint64 TypeWatch::dataVersion(const QString &name) const
{
    if (connection.isEmpty())
        return -1;
    const QSqlDatabase db = QSqlDatabase::database(connection, false);
    if (!db.isOpen() || db.databaseName() != name)
        return -1;
    // Asked without waiting: a poll must never freeze the window behind another copy's lock.
    const ImpatientConnection impatient(db);
    if (!impatient.isReady())
        return -1;
    QSqlQuery query(db);
    const bool read = query.exec(QStringLiteral("PRAGMA data_version")) && query.next();
    const qint64 version = read ? query.value(0).toLongLong() : -1;
    query.finish();
    return version;
}

bool TypeWatch::addFile(const QString &name)
{
    files.append({name, modificationTime(name), fileIdentity(name), dataVersion(name)});
    return true;
}

bool TypeWatch::removeFile(const QString &name)
{
    for (int i = 0; i < files.size(); ++i) {
        if (files.at(i).name == name) {
            files.remove(i);
            return true;
        }
    }
    return false;
}

bool TypeWatch::isRunning() const
{
    return timer->isActive();
}

bool TypeWatch::changed(WatchedFile &file)
{
    const QDateTime modified = modificationTime(file.name);
    const bool touched = modified != file.lastModified;
    file.lastModified = modified;
    if (file.dataVersion < 0)
        return touched && !fPause;
    const qint64 version = dataVersion(file.name);
    // Another copy's commit is reported also right after a pause: only our own writes are paused for.
    if (version < 0 || version == file.dataVersion)
        return false;
    file.dataVersion = version;
    return true;
}

void TypeWatch::period()
{
    timer->stop();
    const int stopsBefore = stops;
    // A report may reopen the file and so change the list: walk a copy of the names.
    const QVector<WatchedFile> checked = files;
    for (const WatchedFile &entry : checked) {
        const auto found = std::find_if(files.begin(), files.end(),
                                        [&entry](const WatchedFile &file) { return file.name == entry.name; });
        if (found == files.end())
            continue;
        WatchedFile &file = *found;
        const FileIdentity identity = fileIdentity(file.name);
        if (identity != file.identity) {
            const QString name = file.name;
            file.identity = identity;
            file.lastModified = modificationTime(name);
            file.dataVersion = -1;
            if (identity.exists)
                emit fileReplaced(name);
            else
                emit fileRemoved(name);
            continue;
        }
        if (changed(file))
            emit fileChanged(file.name);
    }
    if (stops == stopsBefore)
        timer->start(interval);
    fPause = false;
}

void TypeWatch::stop(bool fStop_)
{
    qCDebug(lcWatch) << "Stop";
    timer->stop();
    ++stops;
    fPause = false;
    fStop = fStop_;
}

void TypeWatch::pause()
{
    fPause = true;
}

void TypeWatch::start(bool fSkip)
{
    if (fStop && !fSkip)
        return;
    fStop = false;
    qCDebug(lcWatch).nospace() << "Start fPause=" << fPause;
    if (fSkip) {
        for (WatchedFile &file : files)
            file.lastModified = modificationTime(file.name);
    }
    // A running timer keeps its beat: restarted at every clipboard or focus change, it
    // would put the check off for as long as they come faster than the interval.
    if (!timer->isActive())
        timer->start(interval);
}
