#include "ServiceBase.h"

#include "API/ErrorDescription.h"

ServiceBase::ServiceBase(APIClient *api, QObject *parent)
    : QObject(parent)
    , m_api(api)
{
}

void ServiceBase::setErrorMessage(std::optional<QString> message, bool toldByCaller)
{
    toldByCaller = toldByCaller && message;
    if (m_errorMessage == message && m_errorToldByCaller == toldByCaller)
        return;
    m_errorMessage = std::move(message);
    m_errorToldByCaller = toldByCaller;
    Q_EMIT errorMessageChanged();
}

void ServiceBase::report(const std::exception &error, bool toldByCaller)
{
    setErrorMessage(errorDescription(error), toldByCaller);
}

QCoro::Task<bool> ServiceBase::sendIgnoringAnswer(QString method, QString path)
{
    return sendIgnoringAnswerFor(this, &api(), std::move(method), std::move(path));
}

QCoro::Task<bool> ServiceBase::sendIgnoringAnswerFor(QPointer<ServiceBase> self, APIClient *api, QString method,
                                                     QString path)
{
    try {
        QCoro::Task<QByteArray> pending = api->requestData(std::move(method), std::move(path));
        co_await std::move(pending);
        co_return bool(self);
    } catch (const std::exception &error) {
        if (self)
            self->report(error);
    }
    co_return false;
}
