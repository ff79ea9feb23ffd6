#pragma once

#include <QObject>
#include <QString>
#include <optional>

class QLocalServer;
class QLocalSocket;

// One running window per user and device store: a second start hands its opened URL (possibly
// none) to the running one and leaves once that one has taken it. The socket lives in a folder only this user can
// enter, and neither side talks to a process of another user.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    // A message is its length (4 bytes, big-endian) and that many bytes of UTF-8; the running
    // instance answers one byte and hangs up. A longer message is refused unread.
    static constexpr qint64 maxMessageBytes = 64 * 1024;
    // A connection that has not delivered its whole message by then is closed.
    static constexpr int messageTimeoutMs = 3000;
    static constexpr char takenAnswer = 'A';
    static constexpr char tooLongAnswer = 'L';
    static constexpr char refusedAnswer = 'R';

    // What became of a message handed to the running instance.
    enum class Forwarding {
        NoInstance, // nobody of this user listens: this process is the instance
        Taken,
        TooLong,
        NoAnswer, // one listens but did not confirm the message
        Refused, // one listens but cannot handle messages: its start has stopped
    };
    Q_ENUM(Forwarding)

    explicit SingleInstance(const QString &serverName, QObject *parent = nullptr);

    // The socket's path for the current user's data location, or empty when there is no private
    // folder for it (then every start runs on its own).
    static QString defaultServerName();
    // XDG_RUNTIME_DIR when it is set and private to this user, else a folder of ours (mode 0700)
    // in the temporary folder; empty when another user holds that one.
    static QString socketFolder();

    // Whether the process at the other end may be talked to: only one of this very user.
    static bool isOwnPeer(std::optional<uint> peerUid, uint ownUid);
    // The user of the process at the other end of a connected local socket, when it can be read.
    static std::optional<uint> peerUid(qintptr socketDescriptor);

    // Hands message to the running instance and waits (each step up to timeoutMs) for its answer.
    // Blocks: the instance must run in another thread or process.
    Forwarding forwardToRunning(const QString &message, int timeoutMs = 5000);
    // Starts listening; replaces a socket left behind by a process that died.
    bool listen();
    // From now on every message is answered as refused and not delivered: nobody is left to
    // handle it, and the sender must not report it as taken.
    void refuse();
    bool isRefusing() const { return m_refusing; }

Q_SIGNALS:
    void messageReceived(const QString &message);

private:
    void accept(QLocalSocket *socket);

    QString m_serverName;
    QLocalServer *m_server = nullptr;
    bool m_refusing = false;
};
