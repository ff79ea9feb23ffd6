#include "APIClient.h"

#include "API/RequestCancelled.h"
#include "Utils/AccessToken.h"
#include "Config/AppConfig.h"
#include "Utils/Text.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QCoro/QCoroNetworkReply>

namespace {

struct ReplyDeleter
{
    void operator()(QNetworkReply *reply) const { reply->deleteLater(); }
};

// Network-layer and proxy failures: nothing usable came back from the server.
bool isTransportFailure(QNetworkReply::NetworkError error)
{
    return error > QNetworkReply::NoError && error < QNetworkReply::ContentAccessDenied;
}

// Why a request was cut short by the client, set while the reply is still running.
struct Cutoff
{
    bool overdue = false;
    bool tooLarge = false;
    bool cancelled = false;
    // The status of a failed answer whose body ran over the smaller limit of an error text.
    std::optional<int> errorStatus;
};

// Aborts the reply once its owner is destroyed. The abort is queued: the awaiting caller must not
// resume inside the owner's destructor.
void abortWithOwner(QNetworkReply *reply, const QObject *owner, const std::shared_ptr<Cutoff> &cutoff)
{
    QObject::connect(owner, &QObject::destroyed, reply, [reply, cutoff] {
        if (reply->isFinished())
            return;
        cutoff->cancelled = true;
        QMetaObject::invokeMethod(reply, &QNetworkReply::abort, Qt::QueuedConnection);
    });
}

bool isSuccess(int status)
{
    return status >= 200 && status <= 299;
}

// Ends the reply at the deadline, or as soon as its body is announced or found to be larger than
// maxBytes, or than maxErrorBytes once the status says the answer is a failure. The watchers
// belong to the reply, so they go with it.
std::shared_ptr<Cutoff> enforceLimits(QNetworkReply *reply, int deadlineMs, qint64 maxBytes, qint64 maxErrorBytes)
{
    auto cutoff = std::make_shared<Cutoff>();
    auto *deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    QObject::connect(deadline, &QTimer::timeout, reply, [reply, cutoff] {
        if (reply->isFinished())
            return;
        cutoff->overdue = true;
        reply->abort();
    });
    deadline->start(deadlineMs);
    const auto checkSize = [reply, cutoff, maxBytes, maxErrorBytes] {
        if (reply->isFinished() || cutoff->tooLarge || cutoff->errorStatus)
            return;
        const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        const bool failed = status.isValid() && !isSuccess(status.toInt());
        const qint64 limit = failed ? maxErrorBytes : maxBytes;
        const QVariant announced = reply->header(QNetworkRequest::ContentLengthHeader);
        if ((announced.isValid() && announced.toLongLong() > limit) || reply->bytesAvailable() > limit) {
            if (failed)
                cutoff->errorStatus = status.toInt();
            else
                cutoff->tooLarge = true;
            // Not from inside the reply's own signal: the request's caller resumes on the abort,
            // unless the reply has ended meanwhile (a second end is an error of Qt's own).
            QMetaObject::invokeMethod(
                reply,
                [reply] {
                    if (!reply->isFinished())
                        reply->abort();
                },
                Qt::QueuedConnection);
        }
    };
    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, checkSize);
    QObject::connect(reply, &QNetworkReply::readyRead, reply, checkSize);
    return cutoff;
}

} // namespace

APIClient::APIClient(QUrl baseUrl, QNetworkAccessManager *network)
    : m_baseUrl(std::move(baseUrl))
    , m_network(network)
{
    if (!m_network) {
        m_ownNetwork = std::make_unique<QNetworkAccessManager>();
        m_network = m_ownNetwork.get();
    }
}

APIClient::~APIClient() = default;

APIClient &APIClient::shared()
{
    // Never destroyed: requests may still be finishing while the process shuts down.
    static APIClient *instance = new APIClient(AppConfig::apiBaseUrl());
    return *instance;
}

std::optional<QUrl> APIClient::endpointURL(const QString &path) const
{
    const QString base = Text::trimmedSlashes(m_baseUrl.toString(QUrl::FullyEncoded));
    const QString tail = Text::trimmedSlashes(path);
    if (base.isEmpty() || tail.isEmpty())
        return std::nullopt;
    const QUrl url(base + QLatin1Char('/') + tail, QUrl::StrictMode);
    if (!url.isValid())
        return std::nullopt;
    return url;
}

std::optional<QString> APIClient::parseErrorMessage(const QByteArray &body)
{
    QJsonValue root;
    try {
        root = Json::parse(body);
    } catch (const DecodingError &) {
        return std::nullopt;
    }
    if (!root.isObject())
        return std::nullopt;
    const QJsonValue message = root.toObject().value(QStringLiteral("message"));
    if (message.isUndefined() || message.isNull())
        return std::nullopt;
    if (message.isString())
        return message.toString();
    if (message.isArray()) {
        QStringList texts;
        for (const QJsonValue &element : message.toArray()) {
            if (!element.isString())
                return std::nullopt;
            texts.append(element.toString());
        }
        return texts.join(QStringLiteral(", "));
    }
    // An object or a number says nothing a user can read: the status text says more.
    return std::nullopt;
}

void APIClient::logUnreadAnswer(const APIError &failure)
{
    qWarning("The backend's answer does not read: %s", qPrintable(failure.cause()));
}

QString APIClient::transportFailureText(const QUrl &url)
{
    QString host = url.host();
    if (host.isEmpty()) {
        if (const std::optional<QUrl> configured = AppConfig::readApiBaseUrl())
            host = configured->host();
    }
    if (host.isEmpty())
        host = QStringLiteral("?");
    return QStringLiteral("Нет связи с ") + host
        + QStringLiteral(". Проверьте интернет и URL API (параметр CMake API_BASE_URL).");
}

QCoro::Task<QByteArray> APIClient::requestData(QString method, QString path, std::optional<QJsonValue> body,
                                               bool authorized, QPointer<const QObject> owner)
{
    std::optional<QByteArray> payload;
    if (body)
        payload = Json::serialize(*body);
    return exchange(std::move(method), std::move(path), std::move(payload), authorized, std::move(owner));
}

QCoro::Task<QByteArray> APIClient::requestJson(QString method, QString path, QByteArray body, bool authorized,
                                               QPointer<const QObject> owner)
{
    return exchange(std::move(method), std::move(path), std::move(body), authorized, std::move(owner));
}

QCoro::Task<QByteArray> APIClient::exchange(QString method, QString path, std::optional<QByteArray> payload,
                                            bool authorized, QPointer<const QObject> owner)
{
    const std::optional<QUrl> url = endpointURL(path);
    if (!url)
        throw APIError::invalidURL();

    QNetworkRequest request(*url);
    request.setTransferTimeout(m_transferTimeout);
    // A 3xx answer is a failure like any other: following it could hand the token, or the
    // password of a sign-in, to whatever host the answer names.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setRawHeader("Accept", "application/json");
    if (payload)
        request.setRawHeader("Content-Type", "application/json");
    std::optional<QString> sentToken;
    if (authorized && m_tokenProvider) {
        sentToken = m_tokenProvider();
        // A token that could break out of its header is not sent: the request goes as one without.
        if (sentToken && !AccessToken::isWellFormed(*sentToken))
            sentToken.reset();
        if (sentToken)
            request.setRawHeader("Authorization", "Bearer " + sentToken->toLatin1());
    }

    // A custom request sends no body and no Content-Type unless given, even for POST.
    const QByteArray verb = method.toLatin1();
    std::unique_ptr<QNetworkReply, ReplyDeleter> reply(payload ? m_network->sendCustomRequest(request, verb, *payload)
                                                               : m_network->sendCustomRequest(request, verb));
    const std::shared_ptr<Cutoff> cutoff =
        enforceLimits(reply.get(), m_deadline, m_maxAnswerBytes, std::min(m_maxAnswerBytes, maxErrorAnswerBytes));
    if (owner)
        abortWithOwner(reply.get(), owner, cutoff);
    co_await reply.get();

    if (cutoff->cancelled)
        throw RequestCancelled();
    if (cutoff->tooLarge)
        throw APIError::tooLarge();
    if (cutoff->overdue)
        throw APIError::http(-1, transportFailureText(*url));
    int status = 0;
    QByteArray answer;
    if (cutoff->errorStatus) {
        // A failure with a body too long to be a message: handled as one without a message.
        status = *cutoff->errorStatus;
    } else {
        const QVariant statusAttribute = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        if (isTransportFailure(reply->error()))
            throw APIError::http(-1, transportFailureText(*url));
        if (!statusAttribute.isValid())
            throw APIError::http(-1, std::nullopt);
        status = statusAttribute.toInt();
        answer = reply->readAll();
    }
    if (status == 401) {
        if (sentToken) {
            const UnauthorizedHandler handler = m_onUnauthorized;
            if (handler)
                handler(path, *sentToken);
            throw APIError::unauthorized();
        }
        // A call of the session that found no token to send: the session ended while it waited
        // (a save's body is made on a worker first). Its refusal reads as the ended session's,
        // not as a refused sign-in or the backend's own words.
        if (authorized && m_tokenProvider)
            throw APIError::unauthorized();
        throw APIError::http(401, parseErrorMessage(answer).value_or(QStringLiteral("Неверный email или пароль")));
    }
    if (isSuccess(status))
        co_return answer;

    std::optional<QString> message = parseErrorMessage(answer);
    if (!message && status == 404)
        message = QStringLiteral("Не найдено: ") + url->toString(QUrl::FullyEncoded);
    throw APIError::http(status, message);
}
