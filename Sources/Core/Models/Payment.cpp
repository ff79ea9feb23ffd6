#include "Payment.h"

#include "Utils/APIDecoding.h"
#include "Utils/Hashing.h"
#include "Utils/JsonReader.h"
#include "Utils/JsonWriter.h"

Payment Payment::fromJson(const QJsonValue &value, const JsonPath &path)
{
    const JsonReader reader(value, path);
    Payment payment;
    payment.id = reader.requiredString(QStringLiteral("id"));
    payment.amount = APIDecoding::decodeDouble(reader, QStringLiteral("amount"));
    payment.currency = reader.requiredString(QStringLiteral("currency"));
    // A payment without the key at all reads like one with null: no date.
    if (!reader.isAbsent(QStringLiteral("paidAt")))
        payment.paidAt = APIDecoding::decodeDateString(reader, QStringLiteral("paidAt"));
    payment.status = reader.requiredField<PaymentStatus>(QStringLiteral("status"), paymentStatusFromJson);
    payment.method = reader.optionalString(QStringLiteral("method"));
    payment.note = reader.optionalString(QStringLiteral("note"));
    payment.externalRef = reader.optionalString(QStringLiteral("externalRef"));
    payment.projectId = reader.requiredString(QStringLiteral("projectId"));
    payment.userId = reader.requiredString(QStringLiteral("userId"));
    payment.createdAt = APIDecoding::decodeDateString(reader, QStringLiteral("createdAt"));
    payment.updatedAt = APIDecoding::decodeDateString(reader, QStringLiteral("updatedAt"));
    return payment;
}

QJsonObject Payment::toJson(const JsonPath &path) const
{
    JsonWriter writer(path);
    writer.set(QStringLiteral("id"), id)
        .set(QStringLiteral("amount"), amount)
        .set(QStringLiteral("currency"), currency)
        .set(QStringLiteral("paidAt"), paidAt)
        .set(QStringLiteral("status"), rawValue(status))
        .set(QStringLiteral("method"), method)
        .set(QStringLiteral("note"), note)
        .set(QStringLiteral("externalRef"), externalRef)
        .set(QStringLiteral("projectId"), projectId)
        .set(QStringLiteral("userId"), userId)
        .set(QStringLiteral("createdAt"), createdAt)
        .set(QStringLiteral("updatedAt"), updatedAt);
    return writer.object();
}

size_t qHash(const Payment &payment, size_t seed) noexcept
{
    return Hashing::combine(seed, payment.id, payment.amount, payment.currency, payment.paidAt, payment.status,
                            payment.method, payment.note, payment.externalRef, payment.projectId, payment.userId,
                            payment.createdAt, payment.updatedAt);
}
