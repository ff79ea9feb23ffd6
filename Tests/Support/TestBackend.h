#pragma once

#include "BackendData.h"
#include "BackendReply.h"
#include "RecordedRequest.h"

#include <QAbstractHttpServer>
#include <QHttpServerResponder>
#include <QHash>
#include <QList>
#include <QSet>
#include <QUrl>
#include <functional>
#include <optional>

// The backend's API in memory on 127.0.0.1, for tests and for running the app locally.
// Serves under "/api"; logs every request; any route can be told to answer something else.
class TestBackend : public QAbstractHttpServer
{
    Q_OBJECT

public:
    // captures: the ":name" segments of the route pattern, decoded, in order.
    using Handler = std::function<BackendReply(const RecordedRequest &request, const QStringList &captures)>;
    using AccountHandler = std::function<BackendReply(const QString &accountId, const RecordedRequest &request,
                                                      const QStringList &captures)>;

    explicit TestBackend(QObject *parent = nullptr);
    ~TestBackend() override;

    // Listens on 127.0.0.1; port 0 takes a free one. Returns the port, 0 on failure.
    quint16 start(quint16 port = 0);
    // "http://127.0.0.1:<port>/api"
    QUrl baseUrl() const;

    // pattern: "projects/:id/payments"; a ":name" matches one non-empty segment.
    void addRoute(const QString &method, const QString &pattern, Handler handler);
    // A route of a signed-in account: a request without a known bearer token gets 401.
    void addAccountRoute(const QString &method, const QString &pattern, AccountHandler handler);

    // Answers reply to method + path (without query) instead of the route, until cleared.
    void setOverride(const QString &method, const QString &path, BackendReply reply);
    // Sends whatever method + path answers (route or override) only after this many
    // milliseconds, until cleared.
    void setDelay(const QString &method, const QString &path, int milliseconds);
    // Keeps every answer to method + path (route or override, then its delay) from going out
    // until release(), so that a test acts while a request is owed however fast or slow the
    // machine is.
    void hold(const QString &method, const QString &path);
    // Sends the answers held so far, and holds no more.
    void release();
    // Clears the overrides, the delays and the holds; answers held already wait for release().
    void clearOverrides();
    // Called with each request once its answer is decided (the route has done its work), before
    // the answer goes out; it may change the overrides for later requests. Until replaced.
    void setOnAnswer(std::function<void(const RecordedRequest &request)> watcher) { m_onAnswer = std::move(watcher); }

    const QList<RecordedRequest> &requests() const { return m_requests; }
    QList<RecordedRequest> requests(const QString &method, const QString &path) const;
    // Requests whose client closed the connection before their answer went out; only those
    // received since the last clearRequests().
    const QList<RecordedRequest> &abandonedRequests() const { return m_abandoned; }
    void clearRequests()
    {
        m_requests.clear();
        m_abandoned.clear();
        ++m_requestsEpoch;
    }

    BackendData &data() { return m_data; }

    // The account whose bearer token the request carries, or none.
    std::optional<QString> accountId(const RecordedRequest &request) const;
    static BackendReply unauthorized();

protected:
    bool handleRequest(const QHttpServerRequest &request, QTcpSocket *socket) override;
    void missingHandler(const QHttpServerRequest &request, QTcpSocket *socket) override;

private:
    struct Route
    {
        QString method;
        QStringList segments;
        Handler handler;
    };
    static std::optional<QStringList> match(const Route &route, const QStringList &segments);
    void send(const RecordedRequest &recorded, const QHttpServerRequest &request, QTcpSocket *socket,
              BackendReply reply);
    static void write(QHttpServerResponder &responder, const BackendReply &reply);

    quint16 m_port = 0;
    QList<Route> m_routes;
    QList<std::pair<QString, BackendReply>> m_overrides; // key: "METHOD path"
    QHash<QString, int> m_delays; // key: "METHOD path"
    QSet<QString> m_holds; // key: "METHOD path"
    QList<std::function<void()>> m_held;
    QList<RecordedRequest> m_requests;
    QList<RecordedRequest> m_abandoned;
    quint64 m_requestsEpoch = 0;
    BackendData m_data;
    std::function<void(const RecordedRequest &)> m_onAnswer;
};
