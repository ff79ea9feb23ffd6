#pragma once

#include "API/ServiceBase.h"
#include "Models/CreatePaymentRequest.h"
#include "Models/EstimateAnalytics.h"
#include "Models/Payment.h"
#include "Models/UpdatePaymentRequest.h"

#include <QList>
#include <QPointer>
#include <QCoro/QCoroTask>
#include <QtQml/qqmlregistration.h>
#include <memory>
#include <optional>

class PaymentsAnswer;

// A project's payments and estimate analytics on the backend. One per screen; keeps the last
// failure's text and the last payments it read, and never throws: a failure gives an empty
// result and errorMessage.
class FinanceService : public ServiceBase
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the screen's view model")

public:
    explicit FinanceService(QObject *parent = nullptr);
    explicit FinanceService(APIClient &api, QObject *parent = nullptr);

    // The reads are aborted when the service goes, with the screen that owns it.
    // No value without a failure when the backend has no analytics (it answers null).
    QCoro::Task<std::optional<EstimateAnalytics>> fetchAnalytics(QString projectId);
    QCoro::Task<QList<Payment>> fetchPayments(QString projectId);
    QCoro::Task<std::optional<Payment>> createPayment(QString projectId, CreatePaymentRequest body);
    QCoro::Task<std::optional<Payment>> updatePayment(QString paymentId, UpdatePaymentRequest body);
    QCoro::Task<bool> deletePayment(QString paymentId);

    // From this size on, a payments answer is read on a worker thread.
    static constexpr qsizetype largeAnswerBytes = 64 * 1024;

private:
    static QCoro::Task<QList<Payment>> fetchPaymentsFor(QPointer<FinanceService> self, QString projectId);

    // The next read of payments takes the records of those whose text it finds unchanged here.
    std::shared_ptr<const PaymentsAnswer> m_lastPayments;
};
