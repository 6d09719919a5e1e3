#ifndef SERVERNOTICES_H
#define SERVERNOTICES_H

#include <QObject>
#include <QSqlDriver>
#include <QTimer>

// Tells of phrases another connection changed on the server, as the file watcher tells of
// another copy's commit: the server announces each change, so nothing is polled. Only
// while started; a change meanwhile is told at the next start. The connection's own
// writes are not told.
class ServerNotices : public QObject
{
    Q_OBJECT

public:
    explicit ServerNotices(QObject *parent = nullptr);

    // Listens on that connection when it is a server's; a file's has nothing to tell.
    void setConnection(const QString &name);
    void start();
    void stop();

signals:
    // One for a burst of changes.
    void changed();

private:
    void listen();
    void notified(const QString &name, QSqlDriver::NotificationSource source, const QVariant &payload);

    QString connection;
    QTimer burst;
    bool running = false;
    bool pending = false;
};

#endif // SERVERNOTICES_H
