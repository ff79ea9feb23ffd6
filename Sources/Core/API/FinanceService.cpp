#include "FinanceService.h"

#include "API/APIClient.h"
#include "API/Endpoints.h"
#include "API/ErrorDescription.h"

#include <QPointer>

FinanceService::FinanceService(QObject *parent)
    : FinanceService(APIClient::shared(), parent)
{
}

FinanceService::FinanceService(APIClient &api, QObject *parent)
    : QObject(parent)
    , m_api(api)
{
}

QVariant FinanceService::errorMessageValue() const
{
    return m_errorMessage ? QVariant(*m_errorMessage) : QVariant();
}

void FinanceService::setErrorMessage(std::optional<QString> message)
{
    if (m_errorMessage == message)
        return;
    m_errorMessage = std::move(message);
    Q_EMIT errorMessageChanged();
}

QCoro::Task<std::optional<EstimateAnalytics>> FinanceService::fetchAnalytics(QString projectId)
{
    QPointer<FinanceService> self(this);
    try {
        QCoro::Task<std::optional<EstimateAnalytics>> pending = m_api.request<std::optional<EstimateAnalytics>>(
            QStringLiteral("GET"), Endpoints::estimateAnalytics(projectId), std::nullopt, true);
        co_return co_await std::move(pending);
    } catch (const std::exception &error) {
        if (self)
            setErrorMessage(errorDescription(error));
    }
    co_return std::nullopt;
}

QCoro::Task<QList<Payment>> FinanceService::fetchPayments(QString projectId)
{
    QPointer<FinanceService> self(this);
    try {
        QCoro::Task<QList<Payment>> pending =
            m_api.request<QList<Payment>>(QStringLiteral("GET"), Endpoints::payments(projectId), std::nullopt, true);
        co_return co_await std::move(pending);
    } catch (const std::exception &error) {
        if (self)
            setErrorMessage(errorDescription(error));
    }
    co_return QList<Payment>();
}

QCoro::Task<std::optional<Payment>> FinanceService::createPayment(QString projectId, CreatePaymentRequest body)
{
    QPointer<FinanceService> self(this);
    setErrorMessage(std::nullopt);
    try {
        const QJsonObject json = body.toJson();
        QCoro::Task<std::optional<Payment>> pending =
            m_api.request<std::optional<Payment>>(QStringLiteral("POST"), Endpoints::payments(projectId), json, true);
        co_return co_await std::move(pending);
    } catch (const std::exception &error) {
        if (self)
            setErrorMessage(errorDescription(error));
    }
    co_return std::nullopt;
}

QCoro::Task<std::optional<Payment>> FinanceService::updatePayment(QString paymentId, UpdatePaymentRequest body)
{
    QPointer<FinanceService> self(this);
    setErrorMessage(std::nullopt);
    try {
        const QJsonObject json = body.toJson();
        QCoro::Task<std::optional<Payment>> pending =
            m_api.request<std::optional<Payment>>(QStringLiteral("PATCH"), Endpoints::payment(paymentId), json, true);
        co_return co_await std::move(pending);
    } catch (const std::exception &error) {
        if (self)
            setErrorMessage(errorDescription(error));
    }
    co_return std::nullopt;
}

QCoro::Task<bool> FinanceService::deletePayment(QString paymentId)
{
    QPointer<FinanceService> self(this);
    setErrorMessage(std::nullopt);
    try {
        QCoro::Task<QByteArray> pending =
            m_api.requestData(QStringLiteral("DELETE"), Endpoints::payment(paymentId), std::nullopt, true);
        co_await std::move(pending);
        co_return true;
    } catch (const std::exception &error) {
        if (self)
            setErrorMessage(errorDescription(error));
    }
    co_return false;
}
