#include "RawHttpServer.h"

#include <QTcpSocket>
#include <memory>

namespace {

qsizetype contentLength(const QByteArray &head)
{
    for (const QByteArray &line : head.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().toLower() == "content-length")
            return line.mid(colon + 1).trimmed().toLongLong();
    }
    return 0;
}

} // namespace

RawHttpServer::RawHttpServer(Responder responder, QObject *parent)
    : QObject(parent)
    , m_responder(std::move(responder))
{
    connect(&m_server, &QTcpServer::newConnection, this, &RawHttpServer::accept);
}

quint16 RawHttpServer::start()
{
    if (!m_server.listen(QHostAddress::LocalHost))
        return 0;
    return m_server.serverPort();
}

QUrl RawHttpServer::url(const QString &path) const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(m_server.serverPort()) + path);
}

void RawHttpServer::accept()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        auto received = std::make_shared<QByteArray>();
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, received] {
            received->append(socket->readAll());
            const qsizetype headEnd = received->indexOf("\r\n\r\n");
            if (headEnd < 0)
                return;
            const qsizetype size = headEnd + 4 + contentLength(received->left(headEnd));
            if (received->size() < size)
                return;
            const QByteArray request = received->left(size);
            received->remove(0, size);
            m_requests.append(request);
            m_responder(socket, request);
        });
    }
}
