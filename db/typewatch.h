#ifndef TYPEWATCH_H
#define TYPEWATCH_H

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QVector>

class QTimer;

// Polls the modification time of the open database file, so that phrases another
// running copy writes into it are noticed without any OS-specific notification API.
class TypeWatch : public QObject
{
    Q_OBJECT

public:
    static constexpr int interval = 500;

    explicit TypeWatch(QObject *parent = nullptr);
    ~TypeWatch() override;

    bool addFile(const QString &name);
    bool removeFile(const QString &name);

    bool isRunning() const;
    bool isHardStopped() const { return fStop; }

signals:
    void fileChanged(const QString &name);

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
    };

    static QDateTime modificationTime(const QString &name);

    QVector<WatchedFile> files;
    QTimer *timer = nullptr;
    bool fPause = true;
    bool fStop = false;
};

#endif // TYPEWATCH_H
