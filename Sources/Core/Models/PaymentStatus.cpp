#include "PaymentStatus.h"

#include "Utils/RawValueDecoding.h"

QString rawValue(PaymentStatus status)
{
    switch (status) {
    case PaymentStatus::Pending:
        return QStringLiteral("pending");
    case PaymentStatus::Received:
        return QStringLiteral("received");
    case PaymentStatus::Cancelled:
        return QStringLiteral("cancelled");
    }
    return {};
}

std::optional<PaymentStatus> paymentStatusFromRaw(const QString &raw)
{
    for (const PaymentStatus status : allPaymentStatuses) {
        if (rawValue(status) == raw)
            return status;
    }
    return std::nullopt;
}

QString label(PaymentStatus status)
{
    switch (status) {
    case PaymentStatus::Pending:
        return QStringLiteral("Ожидается");
    case PaymentStatus::Received:
        return QStringLiteral("Получен");
    case PaymentStatus::Cancelled:
        return QStringLiteral("Отменён");
    }
    return {};
}

PaymentStatus paymentStatusFromJson(const QJsonValue &value, const JsonPath &path)
{
    return RawValueDecoding::decode(value, path, "PaymentStatus", paymentStatusFromRaw);
}
