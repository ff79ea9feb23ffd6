#include "App/SingleInstance.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

#include <unistd.h>

SingleInstance::SingleInstance(const QString &serverName, QObject *parent)
    : QObject(parent)
    , m_serverName(serverName)
{
}

QString SingleInstance::defaultServerName()
{
    const QByteArray location = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toUtf8();
    const QByteArray digest = QCryptographicHash::hash(location, QCryptographicHash::Sha1).toHex().left(16);
    return QStringLiteral("tessmark-%1-%2").arg(getuid()).arg(QString::fromLatin1(digest));
}

bool SingleInstance::forwardToRunning(const QString &message, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(message.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(timeoutMs);
    return true;
}

bool SingleInstance::listen()
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_serverName)) {
        // Nobody answered on it a moment ago, so the socket is stale.
        QLocalServer::removeServer(m_serverName);
        if (!m_server->listen(m_serverName))
            return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            auto drain = [this, socket] {
                while (socket->canReadLine())
                    Q_EMIT messageReceived(QString::fromUtf8(socket->readLine()).chopped(1));
            };
            connect(socket, &QLocalSocket::readyRead, this, drain);
            connect(socket, &QLocalSocket::disconnected, this, [socket, drain] {
                drain();
                socket->deleteLater();
            });
            drain();
        }
    });
    return true;
}
