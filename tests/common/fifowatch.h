#ifndef FIFOWATCH_H
#define FIFOWATCH_H

#include <QtCore>

#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// A named pipe that tells whether anything opened it for reading. A reader blocks in
// open() until a writer comes; the watch comes as that writer within milliseconds and
// leaves, so a reader sees an empty file instead of hanging the test.
class FifoWatch
{
public:
    explicit FifoWatch(const QString &path)
        : name(QFile::encodeName(path))
        , made(mkfifo(name.constData(), 0600) == 0)
    {
        thread.reset(QThread::create([this] {
            while (!stop) {
                const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK); // fails while nobody reads
                if (fd >= 0) {
                    opened = true;
                    ::close(fd);
                }
                QThread::msleep(2);
            }
        }));
        thread->start();
    }
    ~FifoWatch()
    {
        stop = true;
        thread->wait();
    }

    bool isMade() const { return made; }
    bool wasOpened() const { return opened; }

private:
    const QByteArray name;
    const bool made;
    std::atomic<bool> stop{false};
    std::atomic<bool> opened{false};
    QScopedPointer<QThread> thread;
};

#endif // FIFOWATCH_H
