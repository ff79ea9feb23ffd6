#include "APIClient.h"

#include "Config/AppConfig.h"
#include "Utils/Text.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QCoro/QCoroNetworkReply>

namespace {

struct ReplyDeleter {
    void operator()(QNetworkReply *reply) const { reply->deleteLater(); }
};

// Network-layer and proxy failures: nothing usable came back from the server.
bool isTransportFailure(QNetworkReply::NetworkError error)
{
    return error > QNetworkReply::NoError && error < QNetworkReply::ContentAccessDenied;
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
                return QString();
            texts.append(element.toString());
        }
        return texts.join(QStringLiteral(", "));
    }
    return QString();
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
                                               bool authorized)
{
    const std::optional<QUrl> url = endpointURL(path);
    if (!url)
        throw APIError::invalidURL();

    QNetworkRequest request(*url);
    request.setTransferTimeout(m_transferTimeout);
    request.setRawHeader("Accept", "application/json");
    QByteArray payload;
    if (body) {
        request.setRawHeader("Content-Type", "application/json");
        payload = Json::serialize(*body);
    }
    std::optional<QString> sentToken;
    if (authorized && m_tokenProvider) {
        sentToken = m_tokenProvider();
        if (sentToken)
            request.setRawHeader("Authorization", "Bearer " + sentToken->toUtf8());
    }

    // A custom request sends no body and no Content-Type unless given, even for POST.
    const QByteArray verb = method.toLatin1();
    std::unique_ptr<QNetworkReply, ReplyDeleter> reply(
        body ? m_network->sendCustomRequest(request, verb, payload) : m_network->sendCustomRequest(request, verb));
    co_await reply.get();

    const QVariant statusAttribute = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (isTransportFailure(reply->error()))
        throw APIError::http(-1, transportFailureText(*url));
    if (!statusAttribute.isValid())
        throw APIError::http(-1, std::nullopt);

    const int status = statusAttribute.toInt();
    const QByteArray answer = reply->readAll();
    if (status == 401) {
        if (sentToken) {
            const UnauthorizedHandler handler = m_onUnauthorized;
            if (handler)
                handler(path, *sentToken);
            throw APIError::unauthorized();
        }
        throw APIError::http(401, parseErrorMessage(answer).value_or(QStringLiteral("Неверный email или пароль")));
    }
    if (status >= 200 && status <= 299)
        co_return answer;

    std::optional<QString> message = parseErrorMessage(answer);
    if (!message && status == 404)
        message = QStringLiteral("Не найдено: ") + url->toString(QUrl::FullyEncoded);
    throw APIError::http(status, message);
}
