#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// One running window per user and device store: a second start hands its opened URL (possibly
// none) to the running one and leaves.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit SingleInstance(const QString &serverName, QObject *parent = nullptr);

    // The server name used for the current user's data location.
    static QString defaultServerName();

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
