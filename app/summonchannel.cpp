#include "app/summonchannel.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QtEndian>

namespace {

constexpr int connectWaitMs = 3000;
// A copy still building its window holds the request until it is up.
constexpr int answerWaitMs = 10000;
// A search text longer than this is no search; a stray client must not make the copy buffer without end.
constexpr quint32 maxTextBytes = 1 << 20;
const QByteArray taken("taken\n");

} // namespace

SummonChannel::SummonChannel(QObject *parent)
    : QObject(parent)
    , server(new QLocalServer(this))
{}

QString SummonChannel::serverName()
{
#ifdef Q_OS_WIN
    // Pipe names are seen machine-wide; the user's name keeps two users apart.
    return QStringLiteral("quillary-summon-") + qEnvironmentVariable("USERNAME");
#else
    // The runtime folder belongs to the user alone.
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + QStringLiteral("/quillary-summon");
#endif
}

bool SummonChannel::sendToRunningCopy(const QString &text)
{
    QLocalSocket socket;
    socket.connectToServer(serverName());
    if (!socket.waitForConnected(connectWaitMs))
        return false;
    const QByteArray utf8 = text.toUtf8();
    if (utf8.size() > int(maxTextBytes))
        return false;
    QByteArray message(4, '\0');
    qToBigEndian<quint32>(quint32(utf8.size()), message.data());
    socket.write(message + utf8);
    if (!socket.waitForBytesWritten(connectWaitMs))
        return false;
    QByteArray answer;
    while (answer.size() < taken.size() && socket.waitForReadyRead(answerWaitMs))
        answer += socket.readAll();
    return answer == taken;
}

bool SummonChannel::listen()
{
    QLocalSocket probe;
    probe.connectToServer(serverName());
    if (probe.waitForConnected(connectWaitMs)) {
        probe.disconnectFromServer();
        return false;
    }
    QLocalServer::removeServer(serverName());
    server->setSocketOptions(QLocalServer::UserAccessOption);
    return server->listen(serverName());
}

void SummonChannel::serve()
{
    connect(server, &QLocalServer::newConnection, this, &SummonChannel::receive);
    receive();
}

void SummonChannel::receive()
{
    while (QLocalSocket *socket = server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
        // A request held until serve() may have been read in already.
        readRequest(socket);
    }
}

void SummonChannel::readRequest(QLocalSocket *socket)
{
    // The text may arrive in pieces: it stays in the socket's buffer until it is whole.
    if (socket->bytesAvailable() < 4)
        return;
    const quint32 length = qFromBigEndian<quint32>(socket->peek(4).constData());
    if (length > maxTextBytes) {
        socket->abort();
        return;
    }
    if (socket->bytesAvailable() < 4 + qint64(length))
        return;
    socket->read(4);
    const QString text = QString::fromUtf8(socket->read(length));
    socket->write(taken);
    socket->flush();
    emit summoned(text);
}
