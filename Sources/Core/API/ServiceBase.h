#pragma once

#include "API/APIClient.h"
#include "API/OffThread.h"
#include "API/RequestCancelled.h"

#include <QJsonValue>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QtQml/qqmlregistration.h>
#include <QCoro/QCoroTask>
#include <exception>
#include <optional>

// What the services share: the REST client they call and the text of their last failure, which
// is absent until a failure and may be empty (a backend message of "" is still a failure).
class ServiceBase : public QObject
{
    Q_OBJECT
    QML_ANONYMOUS
    // Empty when absent; hasErrorMessage tells an absent text from an empty one.
    Q_PROPERTY(QString errorMessage READ errorMessageText NOTIFY errorMessageChanged)
    Q_PROPERTY(bool hasErrorMessage READ hasErrorMessage NOTIFY errorMessageChanged)

public:
    const std::optional<QString> &errorMessage() const { return m_errorMessage; }
    QString errorMessageText() const { return m_errorMessage.value_or(QString()); }
    bool hasErrorMessage() const { return m_errorMessage.has_value(); }
    APIClient &api() const { return m_api ? *m_api : APIClient::shared(); }

Q_SIGNALS:
    void errorMessageChanged();

protected:
    // api: the REST client; the shared one when none is given.
    explicit ServiceBase(APIClient *api, QObject *parent = nullptr);

    void setErrorMessage(std::optional<QString> message);
    void clearError() { setErrorMessage(std::nullopt); }
    void report(const std::exception &error);

    // The record's JSON, or none after reporting a record that cannot be encoded.
    template<typename Request>
    std::optional<QJsonValue> encode(const Request &request)
    {
        try {
            return QJsonValue(request.toJson());
        } catch (const std::exception &error) {
            report(error);
        }
        return std::nullopt;
    }

    // One backend call decoded as T: the answer, or none after reporting the failure. Once the
    // service is gone nothing is reported and none comes back. With an owner, the call is aborted
    // when the owner goes, and none comes back without a report.
    template<typename T>
    QCoro::Task<std::optional<T>> send(QString method, QString path, std::optional<QJsonValue> body = std::nullopt,
                                       bool authorized = true, const QObject *owner = nullptr)
    {
        return sendFor<T>(this, &api(), std::move(method), std::move(path), std::move(body), authorized, owner);
    }
    // send() for a body of megabytes: its JSON is made, and the answer read, on a worker thread,
    // so that the window goes on meanwhile.
    template<typename T, typename Request>
    QCoro::Task<std::optional<T>> sendOffThread(QString method, QString path, Request body)
    {
        return sendOffThreadFor<T>(this, &api(), std::move(method), std::move(path), std::move(body));
    }
    // A read (or any call whose answer is all it is for) lives as long as its caller wants it:
    // the given owner, else this service.
    const QObject *readOwner(const QObject *owner) const { return owner ? owner : this; }
    // A backend call whose answer is not read: true on a 2xx answer, false after reporting.
    QCoro::Task<bool> sendIgnoringAnswer(QString method, QString path);

private:
    template<typename T>
    static QCoro::Task<std::optional<T>> sendFor(QPointer<ServiceBase> self, APIClient *api, QString method,
                                                 QString path, std::optional<QJsonValue> body, bool authorized,
                                                 QPointer<const QObject> owner)
    {
        try {
            QCoro::Task<T> pending =
                api->request<T>(std::move(method), std::move(path), std::move(body), authorized, std::move(owner));
            T answer = co_await std::move(pending);
            if (self)
                co_return answer;
        } catch (const RequestCancelled &) {
            // Its owner is gone: there is nobody to tell.
        } catch (const std::exception &error) {
            if (self)
                self->report(error);
        }
        co_return std::nullopt;
    }
    template<typename T, typename Request>
    static QCoro::Task<std::optional<T>> sendOffThreadFor(QPointer<ServiceBase> self, APIClient *api, QString method,
                                                          QString path, Request body)
    {
        try {
            QCoro::Task<QByteArray> encoding =
                OffThread::run([body = std::move(body)] { return Json::serialize(QJsonValue(body.toJson())); });
            const QByteArray payload = co_await std::move(encoding);
            if (!self)
                co_return std::nullopt;
            QCoro::Task<QByteArray> pending = api->requestJson(std::move(method), std::move(path), payload);
            const QByteArray answer = co_await std::move(pending);
            if (!self)
                co_return std::nullopt;
            QCoro::Task<T> decoding = OffThread::run([answer] { return APIClient::decode<T>(answer); });
            T decoded = co_await std::move(decoding);
            if (self)
                co_return decoded;
        } catch (const RequestCancelled &) {
            // Its owner is gone: there is nobody to tell.
        } catch (const std::exception &error) {
            if (self)
                self->report(error);
        }
        co_return std::nullopt;
    }
    static QCoro::Task<bool> sendIgnoringAnswerFor(QPointer<ServiceBase> self, APIClient *api, QString method,
                                                   QString path);

    APIClient *m_api = nullptr;
    std::optional<QString> m_errorMessage;
};
