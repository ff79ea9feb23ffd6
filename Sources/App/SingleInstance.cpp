#include "App/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTimer>
#include <QtEndian>
#include <memory>

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A real folder (not a link to one) of this user that nobody else can enter. Our own folder is
// tightened when it is looser; a folder of the system's is only taken as it is.
bool isPrivateFolder(const QString &path, bool tighten)
{
    struct stat info
    {};
    const QByteArray native = QFile::encodeName(path);
    if (lstat(native.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != getuid())
        return false;
    if ((info.st_mode & 077) == 0)
        return true;
    return tighten && chmod(native.constData(), 0700) == 0;
}

} // namespace

SingleInstance::SingleInstance(const QString &serverName, QObject *parent)
    : QObject(parent)
    , m_serverName(serverName)
{
}

QString SingleInstance::defaultServerName()
{
    const QString folder = socketFolder();
    if (folder.isEmpty())
        return {};
    const QByteArray location = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toUtf8();
    const QByteArray digest = QCryptographicHash::hash(location, QCryptographicHash::Sha1).toHex().left(16);
    return QStringLiteral("%1/tessmark-%2").arg(folder, QString::fromLatin1(digest));
}

QString SingleInstance::socketFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && isPrivateFolder(runtime, false))
        return QDir::cleanPath(runtime);
    const QString own = QDir::cleanPath(QDir::tempPath()) + QStringLiteral("/tessmark-%1").arg(getuid());
    // Made with its mode at once; one that is already there must prove to be ours.
    mkdir(QFile::encodeName(own).constData(), 0700);
    return isPrivateFolder(own, true) ? own : QString();
}

bool SingleInstance::isOwnPeer(std::optional<uint> peerUid, uint ownUid)
{
    return peerUid.has_value() && *peerUid == ownUid;
}

std::optional<uint> SingleInstance::peerUid(qintptr socketDescriptor)
{
    if (socketDescriptor < 0)
        return std::nullopt;
#if defined(Q_OS_LINUX)
    struct ucred credentials
    {};
    socklen_t size = sizeof credentials;
    if (getsockopt(int(socketDescriptor), SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0)
        return std::nullopt;
    return credentials.uid;
#else
    uid_t uid = 0;
    gid_t gid = 0;
    if (getpeereid(int(socketDescriptor), &uid, &gid) != 0)
        return std::nullopt;
    return uid;
#endif
}

SingleInstance::Forwarding SingleInstance::forwardToRunning(const QString &message, int timeoutMs)
{
    if (m_serverName.isEmpty())
        return Forwarding::NoInstance;
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(timeoutMs))
        return Forwarding::NoInstance;
    // The link may carry a password-reset token: it goes to nobody but this user.
    if (!isOwnPeer(peerUid(socket.socketDescriptor()), getuid())) {
        socket.abort();
        return Forwarding::NoInstance;
    }
    const QByteArray bytes = message.toUtf8();
    if (bytes.size() > maxMessageBytes)
        return Forwarding::TooLong;
    QByteArray frame(4, Qt::Uninitialized);
    qToBigEndian(quint32(bytes.size()), frame.data());
    socket.write(frame + bytes);
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(timeoutMs))
            return Forwarding::NoAnswer;
    }
    if (socket.bytesAvailable() <= 0 && !socket.waitForReadyRead(timeoutMs))
        return Forwarding::NoAnswer;
    char answer = 0;
    if (!socket.getChar(&answer))
        return Forwarding::NoAnswer;
    switch (answer) {
    case takenAnswer:
        return Forwarding::Taken;
    case tooLongAnswer:
        return Forwarding::TooLong;
    case refusedAnswer:
        return Forwarding::Refused;
    default:
        return Forwarding::NoAnswer;
    }
}

bool SingleInstance::listen()
{
    if (m_serverName.isEmpty())
        return false;
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_serverName)) {
        // Nobody answered on it a moment ago, so the socket is stale.
        QLocalServer::removeServer(m_serverName);
        if (!m_server->listen(m_serverName))
            return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection())
            accept(socket);
    });
    return true;
}

void SingleInstance::refuse()
{
    m_refusing = true;
}

void SingleInstance::accept(QLocalSocket *socket)
{
    if (!isOwnPeer(peerUid(socket->socketDescriptor()), getuid())) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    // Room for one whole message, no more.
    socket->setReadBufferSize(4 + maxMessageBytes);
    // A sender that stalls would hold the connection for good.
    auto *deadline = new QTimer(socket);
    deadline->setSingleShot(true);
    connect(deadline, &QTimer::timeout, socket, &QLocalSocket::abort);
    deadline->start(messageTimeoutMs);

    struct Progress
    {
        qint64 length = -1; // unknown until the header is in
        bool answered = false;
    };
    auto progress = std::make_shared<Progress>();
    auto answer = [socket, deadline, progress](char byte) {
        deadline->stop();
        progress->answered = true;
        if (socket->state() != QLocalSocket::ConnectedState)
            return;
        socket->putChar(byte);
        socket->disconnectFromServer();
    };
    auto read = [this, socket, progress, answer] {
        if (progress->answered)
            return;
        if (progress->length < 0) {
            if (socket->bytesAvailable() < 4)
                return;
            char header[4];
            socket->read(header, 4);
            progress->length = qFromBigEndian<quint32>(header);
            if (progress->length > maxMessageBytes) {
                answer(tooLongAnswer);
                return;
            }
        }
        if (socket->bytesAvailable() < progress->length)
            return;
        const QString message = QString::fromUtf8(socket->read(progress->length));
        if (m_refusing) {
            answer(refusedAnswer);
            return;
        }
        answer(takenAnswer);
        Q_EMIT messageReceived(message);
    };
    connect(socket, &QLocalSocket::readyRead, this, read);
    // A sender that hung up right after its message still gets it delivered.
    connect(socket, &QLocalSocket::disconnected, this, [socket, read] {
        read();
        socket->deleteLater();
    });
    read();
}
