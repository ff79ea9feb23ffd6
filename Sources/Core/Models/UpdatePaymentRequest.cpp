#include "UpdatePaymentRequest.h"

#include "Utils/JsonWriter.h"

QJsonObject UpdatePaymentRequest::toJson(const JsonPath &path) const
{
    JsonWriter writer(path);
    writer.set(QStringLiteral("amount"), amount)
        .set(QStringLiteral("currency"), currency)
        .set(QStringLiteral("paidAt"), paidAt);
    if (status)
        writer.set(QStringLiteral("status"), rawValue(*status));
    writer.set(QStringLiteral("method"), method)
        .set(QStringLiteral("note"), note)
        .set(QStringLiteral("externalRef"), externalRef);
    return writer.object();
}
