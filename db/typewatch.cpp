#include "db/typewatch.h"

#include "db/tracecategories.h"

#include <QDebug>
#include <QFileInfo>
#include <QTimer>

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

bool TypeWatch::addFile(const QString &name)
{
    files.append({name, modificationTime(name)});
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

void TypeWatch::period()
{
    timer->stop();
    for (WatchedFile &file : files) {
        const QDateTime modified = modificationTime(file.name);
        if (modified != file.lastModified) {
            file.lastModified = modified;
            if (!fPause)
                emit fileChanged(file.name);
        }
    }
    timer->start(interval);
    fPause = false;
}

void TypeWatch::stop(bool fStop_)
{
    qCDebug(lcWatch) << "Stop";
    timer->stop();
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
    timer->start(interval);
}
