#ifndef TYPEWATCH_H
#define TYPEWATCH_H

#include "db/fileidentity.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QVector>

class QTimer;

// Polls the open database file, so that phrases another running copy writes into it
// are noticed without any OS-specific notification API. With the connection that has
// the file open, a change is a commit by another connection (SQLite's data_version):
// the program's own writes and a touched time stamp are none, and a commit that left
// the time stamp as it was is one. Without it, the modification time tells.
class TypeWatch : public QObject
{
    Q_OBJECT

public:
    static constexpr int interval = 500;

    explicit TypeWatch(QObject *parent = nullptr);
    ~TypeWatch() override;

    // The connection whose file is watched; set it before adding the file.
    void setConnection(const QString &connectionName) { connection = connectionName; }
    bool addFile(const QString &name);
    bool removeFile(const QString &name);

    bool isRunning() const;
    bool isHardStopped() const { return fStop; }

signals:
    void fileChanged(const QString &name);
    // Another file now lies at the path: moved over it, or made anew after a removal.
    void fileReplaced(const QString &name);
    // Nothing lies at the path any more: removed, or renamed away.
    void fileRemoved(const QString &name);

public slots:
    void period();
    void stop(bool fStop_);
    void pause();
    void start(bool fSkip);

private:
    struct WatchedFile
    {
        QString name;
        QDateTime lastModified;
        FileIdentity identity;
        qint64 dataVersion = -1;
    };

    static QDateTime modificationTime(const QString &name);
    // -1 when it cannot be told now, such as while another copy holds the write lock.
    qint64 dataVersion(const QString &name) const;
    bool changed(WatchedFile &file);

    QString connection;
    QVector<WatchedFile> files;
    QTimer *timer = nullptr;
    // Counts the stops, so that a check whose report stopped the watcher leaves it stopped.
    int stops = 0;
    bool fPause = true;
    bool fStop = false;
};

#endif // TYPEWATCH_H
