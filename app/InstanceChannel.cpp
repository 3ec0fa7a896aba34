#include "app/InstanceChannel.h"

#include "app/SingleInstance.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace
{

// The one request a later copy sends.
const QByteArray REQUEST_TO_FRONT = QByteArrayLiteral("TO_FRONT\n");

} // namespace

TInstanceChannel::TInstanceChannel(QObject* parent)
    : QObject(parent), m_pServer(new QLocalServer(this))
{
    // Only this user may knock.
    m_pServer->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_pServer, &QLocalServer::newConnection, this, &TInstanceChannel::Accept);
}

TInstanceChannel::~TInstanceChannel()
{
    m_pServer->close();
}

bool TInstanceChannel::Listen(std::function<void()> onKnock)
{
    m_OnKnock = std::move(onKnock);
    const QString name = TSingleInstance::ChannelPath();
    QLocalServer::removeServer(name);
    if (m_pServer->listen(name))
        return true;
    qWarning("Unable to listen on '%s' for later starts: %s", qPrintable(name),
             qPrintable(m_pServer->errorString()));
    return false;
}

void TInstanceChannel::Accept()
{
    while (QLocalSocket* socket = m_pServer->nextPendingConnection())
    {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this,
                [this, socket]
                {
                    if (!socket->canReadLine())
                        return;
                    if (socket->readLine() == REQUEST_TO_FRONT && m_OnKnock)
                        m_OnKnock();
                    socket->disconnectFromServer();
                });
    }
}

bool TInstanceChannel::Knock(int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(TSingleInstance::ChannelPath());
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(REQUEST_TO_FRONT);
    const bool sent = socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    return sent;
}
