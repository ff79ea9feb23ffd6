#pragma once

#include "Utils/JsonPath.h"

#include <QJsonValue>
#include <QString>
#include <array>
#include <optional>

// State of a payment; in JSON its raw text, matched exactly.
enum class PaymentStatus { Pending, Received, Cancelled };

// All cases in the order the payment screens offer them.
inline constexpr std::array<PaymentStatus, 3> allPaymentStatuses{PaymentStatus::Pending, PaymentStatus::Received,
                                                                 PaymentStatus::Cancelled};

QString rawValue(PaymentStatus status);
std::optional<PaymentStatus> paymentStatusFromRaw(const QString &raw);
QString label(PaymentStatus status);

// Throws DecodingError unless value is a string holding one of the raw values.
PaymentStatus paymentStatusFromJson(const QJsonValue &value, const JsonPath &path = {});
