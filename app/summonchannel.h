#ifndef SUMMONCHANNEL_H
#define SUMMONCHANNEL_H

#include <QObject>
#include <QString>

class QLocalServer;

// Lets a second start with a search hand it to a copy that is already running,
// over a local socket of this user's own. The first copy that answers takes it.
class SummonChannel : public QObject
{
    Q_OBJECT

public:
    explicit SummonChannel(QObject *parent = nullptr);

    // Hands `text` to a running copy; true once one has taken it.
    static bool sendToRunningCopy(const QString &text);

    // Starts answering, unless another running copy already does. A socket left
    // behind by a copy that crashed is replaced.
    bool listen();

signals:
    void summoned(const QString &text);

private:
    static QString serverName();
    void receive();

    QLocalServer *server;
};

#endif // SUMMONCHANNEL_H
