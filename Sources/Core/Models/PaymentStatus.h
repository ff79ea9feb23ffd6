#pragma once

#include <QList>
#include <QString>
#include <optional>

class JsonReader;

enum class PaymentStatus { pending, received, cancelled };

// In the order the payment screens offer them.
QList<PaymentStatus> allPaymentStatuses();
QString rawValue(PaymentStatus status);
// Exact, case-sensitive match of a wire text.
std::optional<PaymentStatus> paymentStatusFromRawValue(const QString &raw);
QString label(PaymentStatus status);

// The text under key, which must equal a raw value: the reader's own errors for a missing key,
// null or another kind, data corruption for an unknown text. Throws DecodingError.
PaymentStatus readPaymentStatus(const JsonReader &from, const QString &key);
