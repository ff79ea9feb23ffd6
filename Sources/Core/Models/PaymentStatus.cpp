#include "PaymentStatus.h"

#include "Utils/JsonReader.h"

QList<PaymentStatus> allPaymentStatuses()
{
    return {PaymentStatus::pending, PaymentStatus::received, PaymentStatus::cancelled};
}

QString rawValue(PaymentStatus status)
{
    switch (status) {
    case PaymentStatus::pending: return QStringLiteral("pending");
    case PaymentStatus::received: return QStringLiteral("received");
    case PaymentStatus::cancelled: return QStringLiteral("cancelled");
    }
    return {};
}

std::optional<PaymentStatus> paymentStatusFromRawValue(const QString &raw)
{
    for (const PaymentStatus status : allPaymentStatuses()) {
        if (rawValue(status) == raw)
            return status;
    }
    return std::nullopt;
}

QString label(PaymentStatus status)
{
    switch (status) {
    case PaymentStatus::pending: return QStringLiteral("Ожидается");
    case PaymentStatus::received: return QStringLiteral("Получен");
    case PaymentStatus::cancelled: return QStringLiteral("Отменён");
    }
    return {};
}

PaymentStatus readPaymentStatus(const JsonReader &from, const QString &key)
{
    const QString raw = from.requiredString(key);
    if (const auto status = paymentStatusFromRawValue(raw))
        return *status;
    throw DecodingError(DecodingError::Kind::DataCorrupted, from.pathOf(key),
                        QStringLiteral("Cannot initialize PaymentStatus from invalid String value %1").arg(raw));
}
