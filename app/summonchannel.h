#ifndef SUMMONCHANNEL_H
#define SUMMONCHANNEL_H

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

// Lets a second start with a search hand it to a copy that is already running,
// over a local socket of this user's own. The first copy that answers takes it.
class SummonChannel : public QObject
{
    Q_OBJECT

public:
    explicit SummonChannel(QObject *parent = nullptr);

    // Hands `text` to a running copy; true once one has taken it.
    static bool sendToRunningCopy(const QString &text);

    // Claims the name, unless another running copy answers it. A socket left
    // behind by a copy that crashed is replaced. Claimed before the window is
    // built, so that a second start meanwhile waits for this copy instead of
    // becoming one more; its request is held until serve().
    bool listen();
    void serve();

signals:
    void summoned(const QString &text);

private:
    static QString serverName();
    void receive();
    void readRequest(QLocalSocket *socket);

    QLocalServer *server;
};

#endif // SUMMONCHANNEL_H
