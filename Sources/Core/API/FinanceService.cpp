#include "FinanceService.h"

#include "API/Endpoints.h"
#include "API/OffThread.h"
#include "API/PaymentsAnswer.h"
#include "API/RequestCancelled.h"


FinanceService::FinanceService(QObject *parent)
    : ServiceBase(nullptr, parent)
{
}

FinanceService::FinanceService(APIClient &api, QObject *parent)
    : ServiceBase(&api, parent)
{
}

QCoro::Task<std::optional<EstimateAnalytics>> FinanceService::fetchAnalytics(QString projectId)
{
    // A JSON null answer is no analytics, and no failure.
    auto pending = send<std::optional<EstimateAnalytics>>(
        QStringLiteral("GET"), Endpoints::estimateAnalytics(projectId), std::nullopt, true, readOwner(nullptr));
    const std::optional<std::optional<EstimateAnalytics>> analytics = co_await std::move(pending);
    co_return analytics.value_or(std::nullopt);
}

QCoro::Task<QList<Payment>> FinanceService::fetchPayments(QString projectId)
{
    return fetchPaymentsFor(this, std::move(projectId));
}

QCoro::Task<QList<Payment>> FinanceService::fetchPaymentsFor(QPointer<FinanceService> self, QString projectId)
{
    try {
        QCoro::Task<QByteArray> pending = self->api().requestData(QStringLiteral("GET"), Endpoints::payments(projectId),
                                                                  std::nullopt, true, self->readOwner(nullptr));
        const QByteArray bytes = co_await std::move(pending);
        if (!self)
            co_return QList<Payment>();
        // Thousands of payments are read beside the window; a reload reads again only those that
        // changed since the last answer.
        const auto read = [bytes, previous = self->m_lastPayments] {
            return PaymentsAnswer::read(bytes, previous.get());
        };
        std::shared_ptr<const PaymentsAnswer> answer;
        if (bytes.size() < largeAnswerBytes) {
            answer = read();
        } else {
            QCoro::Task<std::shared_ptr<const PaymentsAnswer>> reading = OffThread::run(read, &self->workPool());
            answer = co_await std::move(reading);
        }
        if (!self)
            co_return QList<Payment>();
        self->m_lastPayments = answer;
        co_return answer->payments();
    } catch (const RequestCancelled &) {
        // The service is going: there is nobody to tell.
    } catch (const std::exception &error) {
        if (self)
            self->report(error);
    }
    co_return QList<Payment>();
}

QCoro::Task<std::optional<Payment>> FinanceService::createPayment(QString projectId, CreatePaymentRequest body)
{
    clearError();
    const std::optional<QJsonValue> json = encode(body);
    if (!json)
        co_return std::nullopt;
    auto pending = send<std::optional<Payment>>(QStringLiteral("POST"), Endpoints::payments(projectId), json);
    const std::optional<std::optional<Payment>> created = co_await std::move(pending);
    co_return created.value_or(std::nullopt);
}

QCoro::Task<std::optional<Payment>> FinanceService::updatePayment(QString paymentId, UpdatePaymentRequest body)
{
    clearError();
    const std::optional<QJsonValue> json = encode(body);
    if (!json)
        co_return std::nullopt;
    auto pending = send<std::optional<Payment>>(QStringLiteral("PATCH"), Endpoints::payment(paymentId), json);
    const std::optional<std::optional<Payment>> updated = co_await std::move(pending);
    co_return updated.value_or(std::nullopt);
}

QCoro::Task<bool> FinanceService::deletePayment(QString paymentId)
{
    clearError();
    // The answer's body is never read: any 2xx is a deletion.
    auto pending = sendIgnoringAnswer(QStringLiteral("DELETE"), Endpoints::payment(paymentId));
    co_return co_await std::move(pending);
}
