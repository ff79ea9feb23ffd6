#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QTcpServer>
#include <QUrl>
#include <functional>

class QTcpSocket;

// HTTP/1.1 on 127.0.0.1 at the level of bytes, for answers a proper server never gives:
// redirects elsewhere, bodies that drip or never end. Keeps every request it reads.
class RawHttpServer : public QObject
{
    Q_OBJECT

public:
    // Called once per request, head and body read; writes the answer, or none, to the socket.
    using Responder = std::function<void(QTcpSocket *socket, const QByteArray &request)>;

    explicit RawHttpServer(Responder responder, QObject *parent = nullptr);

    // Listens on a free port. Returns the port, 0 on failure.
    quint16 start();
    // "http://127.0.0.1:<port>/<path>"
    QUrl url(const QString &path = QString()) const;

    // Each request as received: request line, headers and body.
    const QList<QByteArray> &requests() const { return m_requests; }

private:
    void accept();

    Responder m_responder;
    QTcpServer m_server;
    QList<QByteArray> m_requests;
};
