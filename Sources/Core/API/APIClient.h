#pragma once

#include "API/APIError.h"
#include "Utils/DecodingError.h"
#include "Utils/Json.h"
#include "Utils/JsonReader.h"

#include <QByteArray>
#include <QJsonValue>
#include <QList>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <QCoro/QCoroTask>
#include <functional>
#include <memory>
#include <optional>

class QNetworkAccessManager;

namespace APIDecoders {

// How an answer becomes the record a caller expects: T::fromJson, a JSON null as no value for
// std::optional<T>, a JSON array read as a whole for QList<T>, and the bare value for QJsonValue.
template<typename T>
struct Decoder
{
    static T read(const QJsonValue &value, const QString &path) { return T::fromJson(value, path); }
};
template<typename T>
struct Decoder<std::optional<T>>
{
    static std::optional<T> read(const QJsonValue &value, const QString &path)
    {
        if (value.isNull())
            return std::nullopt;
        return Decoder<T>::read(value, path);
    }
};
template<typename T>
struct Decoder<QList<T>>
{
    static QList<T> read(const QJsonValue &value, const QString &path)
    {
        return JsonReader::readList<T>(
            value, path, [](const QJsonValue &element, const QString &at) { return Decoder<T>::read(element, at); });
    }
    // Records that read a whole list straight from the text (with the same outcome) skip the
    // JSON objects in between.
    static QList<T> readText(const QByteArray &bytes) requires requires { T::listFromJson(bytes); }
    {
        return T::listFromJson(bytes);
    }
};
template<>
struct Decoder<QJsonValue>
{
    static QJsonValue read(const QJsonValue &value, const QString &) { return value; }
};

} // namespace APIDecoders

// The one REST client: joins paths to the base URL, sends the JSON headers and the bearer token,
// performs one exchange and turns every failure into an APIError with the text the screens show.
class APIClient
{
public:
    using TokenProvider = std::function<std::optional<QString>()>;
    // path: the request's path as given; sentToken: the token it carried. The handler can tell
    // an expired session from an answer about an older one.
    using UnauthorizedHandler = std::function<void(const QString &path, const QString &sentToken)>;
    static constexpr int defaultTransferTimeout = 60000;
    // However steadily an answer trickles in, the request ends after this long.
    static constexpr int defaultDeadline = 180000;
    static constexpr qint64 defaultMaxAnswerBytes = 100 * 1024 * 1024;
    // The body of a failed answer holds a message at most: one longer is not read, and the
    // failure is reported as if it carried none.
    static constexpr qint64 maxErrorAnswerBytes = 64 * 1024;

    // network may be shared; the client makes its own when none is given.
    explicit APIClient(QUrl baseUrl, QNetworkAccessManager *network = nullptr);
    ~APIClient();
    APIClient(const APIClient &) = delete;
    APIClient &operator=(const APIClient &) = delete;

    // Built on first use from the information resource; stops the program without a base URL.
    static APIClient &shared();

    const QUrl &baseUrl() const { return m_baseUrl; }
    QNetworkAccessManager *network() const { return m_network; }

    // Without one no token is sent; the application entry hands the shared client the credential store's.
    void setTokenProvider(TokenProvider provider) { m_tokenProvider = std::move(provider); }
    // Called on a 401 answer to a request that carried a token, before the failure is reported.
    void setOnUnauthorized(UnauthorizedHandler handler) { m_onUnauthorized = std::move(handler); }
    void setTransferTimeout(int milliseconds) { m_transferTimeout = milliseconds; }
    int transferTimeout() const { return m_transferTimeout; }
    void setDeadline(int milliseconds) { m_deadline = milliseconds; }
    int deadline() const { return m_deadline; }
    // A longer answer (announced or received) fails as too large, with status -1.
    void setMaxAnswerBytes(qint64 bytes) { m_maxAnswerBytes = bytes; }
    qint64 maxAnswerBytes() const { return m_maxAnswerBytes; }

    // The body bytes of a 2xx answer, possibly empty. Throws APIError. Redirects are not
    // followed, so the token and the body go nowhere but the base URL's server.
    // owner: whose lifetime the request lives in. When it is destroyed, the exchange is aborted
    // and the caller resumes later, from the event loop, with RequestCancelled: nothing runs on
    // inside the owner's destructor. Without one the request runs to its end.
    QCoro::Task<QByteArray> requestData(QString method, QString path, std::optional<QJsonValue> body = std::nullopt,
                                        bool authorized = true, QPointer<const QObject> owner = {});
    // requestData with a body already made into JSON text, for bodies made off the event loop's thread.
    QCoro::Task<QByteArray> requestJson(QString method, QString path, QByteArray body, bool authorized = true,
                                        QPointer<const QObject> owner = {});

    // requestData, then the answer decoded as T (see APIDecoders). Throws APIError.
    template<typename T>
    QCoro::Task<T> request(QString method, QString path, std::optional<QJsonValue> body = std::nullopt,
                           bool authorized = true, QPointer<const QObject> owner = {})
    {
        // GCC 12 may destroy temporaries of a co_await expression twice: nothing but the task there.
        QCoro::Task<QByteArray> pending =
            requestData(std::move(method), std::move(path), std::move(body), authorized, std::move(owner));
        const QByteArray bytes = co_await std::move(pending);
        co_return decode<T>(bytes);
    }

    // Throws APIError::decoding when the bytes are not JSON or not a T.
    template<typename T>
    static T decode(const QByteArray &bytes)
    {
        try {
            if constexpr (requires { APIDecoders::Decoder<T>::readText(bytes); })
                return APIDecoders::Decoder<T>::readText(bytes);
            else
                return APIDecoders::Decoder<T>::read(Json::parse(bytes), QString());
        } catch (const DecodingError &error) {
            APIError failure = APIError::decoding(error.description());
            logUnreadAnswer(failure);
            throw failure;
        }
    }

    // The base URL and the path joined with one "/", or none when either is empty or the result
    // does not parse. The path (query included) is used as given, without escaping.
    std::optional<QUrl> endpointURL(const QString &path) const;
    // The "message" of a failed answer: a text, or a list of texts joined with ", "; none when the
    // body is not a JSON object or its message is missing, null or anything else.
    static std::optional<QString> parseErrorMessage(const QByteArray &body);

private:
    static QString transportFailureText(const QUrl &url);
    // The exchange itself, with the body's bytes if there is one.
    QCoro::Task<QByteArray> exchange(QString method, QString path, std::optional<QByteArray> payload, bool authorized,
                                     QPointer<const QObject> owner);
    // What did not read, for whoever looks into the failure: the screens show no such detail.
    static void logUnreadAnswer(const APIError &failure);

    QUrl m_baseUrl;
    QNetworkAccessManager *m_network = nullptr;
    std::unique_ptr<QNetworkAccessManager> m_ownNetwork;
    TokenProvider m_tokenProvider;
    UnauthorizedHandler m_onUnauthorized;
    int m_transferTimeout = defaultTransferTimeout;
    int m_deadline = defaultDeadline;
    qint64 m_maxAnswerBytes = defaultMaxAnswerBytes;
};
