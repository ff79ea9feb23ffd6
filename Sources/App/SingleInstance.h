#pragma once

#include <QObject>
#include <QString>
#include <optional>

class QLocalServer;

// One running window per user and device store: a second start hands its opened URL (possibly
// none) to the running one and leaves. The socket lives in a folder only this user can enter,
// and neither side talks to a process of another user.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    // A forwarded line is a URL; a connection that sends more than this without a line end is
    // dropped instead of buffered.
    static constexpr qint64 maxLineBytes = 64 * 1024;

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

    // True when another instance took the message; this process should then exit.
    bool forwardToRunning(const QString &message, int timeoutMs = 1000);
    // Starts listening; replaces a socket left behind by a process that died.
    bool listen();

Q_SIGNALS:
    void messageReceived(const QString &message);

private:
    QString m_serverName;
    QLocalServer *m_server = nullptr;
};
