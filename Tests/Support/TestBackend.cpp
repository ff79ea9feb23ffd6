#include "TestBackend.h"

#include "AIApi.h"
#include "AccountsApi.h"
#include "FinanceApi.h"
#include "ProjectsApi.h"

#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>
#include <memory>
#include <utility>

namespace {

const QString apiPrefix = QStringLiteral("/api/");

QString methodName(QHttpServerRequest::Method method)
{
    switch (method) {
    case QHttpServerRequest::Method::Get:
        return QStringLiteral("GET");
    case QHttpServerRequest::Method::Put:
        return QStringLiteral("PUT");
    case QHttpServerRequest::Method::Delete:
        return QStringLiteral("DELETE");
    case QHttpServerRequest::Method::Post:
        return QStringLiteral("POST");
    case QHttpServerRequest::Method::Head:
        return QStringLiteral("HEAD");
    case QHttpServerRequest::Method::Options:
        return QStringLiteral("OPTIONS");
    case QHttpServerRequest::Method::Patch:
        return QStringLiteral("PATCH");
    default:
        return QStringLiteral("UNKNOWN");
    }
}

} // namespace

TestBackend::TestBackend(QObject *parent)
    : QAbstractHttpServer(parent)
{
    AccountsApi::install(*this);
    ProjectsApi::install(*this);
    FinanceApi::install(*this);
    AIApi::install(*this);
}

TestBackend::~TestBackend() = default;

quint16 TestBackend::start(quint16 port)
{
    m_port = listen(QHostAddress::LocalHost, port);
    return m_port;
}

QUrl TestBackend::baseUrl() const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1/api").arg(m_port));
}

void TestBackend::addRoute(const QString &method, const QString &pattern, Handler handler)
{
    m_routes.append(Route{method, pattern.split(QLatin1Char('/')), std::move(handler)});
}

void TestBackend::addAccountRoute(const QString &method, const QString &pattern, AccountHandler handler)
{
    addRoute(method, pattern,
             [this, handler = std::move(handler)](const RecordedRequest &request, const QStringList &captures) {
                 const std::optional<QString> account = accountId(request);
                 if (!account)
                     return unauthorized();
                 return handler(*account, request, captures);
             });
}

void TestBackend::setOverride(const QString &method, const QString &path, BackendReply reply)
{
    const QString key = method + QLatin1Char(' ') + path;
    for (auto &entry : m_overrides) {
        if (entry.first == key) {
            entry.second = std::move(reply);
            return;
        }
    }
    m_overrides.append({key, std::move(reply)});
}

void TestBackend::setDelay(const QString &method, const QString &path, int milliseconds)
{
    m_delays.insert(method + QLatin1Char(' ') + path, milliseconds);
}

void TestBackend::hold(const QString &method, const QString &path)
{
    m_holds.insert(method + QLatin1Char(' ') + path);
}

void TestBackend::release()
{
    m_holds.clear();
    const QList<std::function<void()>> held = std::exchange(m_held, {});
    for (const std::function<void()> &answer : held)
        answer();
}

void TestBackend::clearOverrides()
{
    m_overrides.clear();
    m_delays.clear();
    m_holds.clear();
}

QList<RecordedRequest> TestBackend::requests(const QString &method, const QString &path) const
{
    QList<RecordedRequest> found;
    for (const RecordedRequest &request : m_requests) {
        if (request.method == method && request.path == path)
            found.append(request);
    }
    return found;
}

std::optional<QString> TestBackend::accountId(const RecordedRequest &request) const
{
    const QByteArray header = request.header("Authorization");
    if (!header.startsWith("Bearer "))
        return std::nullopt;
    const QString token = QString::fromUtf8(header.mid(7));
    if (!m_data.tokens.contains(token))
        return std::nullopt;
    return m_data.tokens.value(token);
}

BackendReply TestBackend::unauthorized()
{
    return BackendReply::message(401, QStringLiteral("Unauthorized"));
}

std::optional<QStringList> TestBackend::match(const Route &route, const QStringList &segments)
{
    if (route.segments.size() != segments.size())
        return std::nullopt;
    QStringList captures;
    for (qsizetype i = 0; i < segments.size(); ++i) {
        const QString &expected = route.segments.at(i);
        if (expected.startsWith(QLatin1Char(':'))) {
            if (segments.at(i).isEmpty())
                return std::nullopt;
            captures.append(segments.at(i));
        } else if (expected != segments.at(i)) {
            return std::nullopt;
        }
    }
    return captures;
}

bool TestBackend::handleRequest(const QHttpServerRequest &request, QTcpSocket *socket)
{
    const QUrl url = request.url();
    const QString fullPath = url.path(QUrl::FullyEncoded);
    if (!fullPath.startsWith(apiPrefix))
        return false;

    RecordedRequest recorded;
    recorded.method = methodName(request.method());
    recorded.query = url.query(QUrl::FullyEncoded);
    const QString encodedPath = fullPath.mid(apiPrefix.size());
    recorded.target = url.hasQuery() ? encodedPath + QLatin1Char('?') + recorded.query : encodedPath;
    recorded.path = QUrl::fromPercentEncoding(encodedPath.toUtf8());
    for (const auto &[name, value] : request.headers())
        recorded.headers.insert(name.toLower(), value);
    recorded.body = request.body();
    m_requests.append(recorded);

    const QString key = recorded.method + QLatin1Char(' ') + recorded.path;
    std::optional<BackendReply> reply;
    for (const auto &[overrideKey, overridden] : std::as_const(m_overrides)) {
        if (overrideKey == key) {
            reply = overridden;
            break;
        }
    }
    if (!reply) {
        QStringList segments;
        for (const QString &segment : encodedPath.split(QLatin1Char('/')))
            segments.append(QUrl::fromPercentEncoding(segment.toUtf8()));
        for (const Route &route : std::as_const(m_routes)) {
            if (route.method != recorded.method)
                continue;
            if (const std::optional<QStringList> captures = match(route, segments)) {
                reply = route.handler(recorded, *captures);
                break;
            }
        }
    }
    if (!reply)
        return false;
    if (m_onAnswer) {
        const auto watcher = m_onAnswer;
        watcher(recorded);
    }
    send(recorded, request, socket, *reply);
    return true;
}

void TestBackend::missingHandler(const QHttpServerRequest &request, QTcpSocket *socket)
{
    send({}, request, socket, BackendReply::empty(404));
}

void TestBackend::send(const RecordedRequest &recorded, const QHttpServerRequest &request, QTcpSocket *socket,
                       BackendReply reply)
{
    const QString key = recorded.method + QLatin1Char(' ') + recorded.path;
    const int delay = m_delays.value(key, 0);
    if (delay > 0 && reply.delayMs <= 0)
        reply.delayMs = delay;
    const bool held = m_holds.contains(key);
    if (reply.neverAnswer || reply.delayMs > 0 || held) {
        // An answer still owed: a client that hangs up before it gets it gave the request up.
        auto answered = std::make_shared<bool>(false);
        connect(socket, &QTcpSocket::disconnected, this, [this, recorded, answered, epoch = m_requestsEpoch] {
            if (!*answered && epoch == m_requestsEpoch)
                m_abandoned.append(recorded);
        });
        if (reply.neverAnswer)
            return;
        auto responder = std::make_shared<QHttpServerResponder>(makeResponder(request, socket));
        auto answer = [responder, reply, answered, socket = QPointer<QTcpSocket>(socket)] {
            // A held answer whose client hung up meanwhile goes nowhere.
            if (!socket || socket->state() != QAbstractSocket::ConnectedState)
                return;
            QTimer::singleShot(reply.delayMs, socket, [responder, reply, answered] {
                *answered = true;
                write(*responder, reply);
            });
        };
        if (held)
            m_held.append(answer);
        else
            answer();
        return;
    }
    QHttpServerResponder responder = makeResponder(request, socket);
    write(responder, reply);
}

void TestBackend::write(QHttpServerResponder &responder, const BackendReply &reply)
{
    const auto status = static_cast<QHttpServerResponder::StatusCode>(reply.status);
    if (reply.contentType.isEmpty())
        responder.write(reply.body, QHttpServerResponder::HeaderList{}, status);
    else
        responder.write(reply.body, {{"Content-Type", reply.contentType}}, status);
}
