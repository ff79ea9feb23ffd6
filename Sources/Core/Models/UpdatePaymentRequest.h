#pragma once

#include "PaymentStatus.h"
#include "Utils/JsonPath.h"

#include <QJsonObject>
#include <QString>
#include <optional>

// Body that changes a payment: only the fields set are sent, so a status change alone is
// {"status": ...}.
struct UpdatePaymentRequest
{
    std::optional<double> amount{};
    std::optional<QString> currency{};
    std::optional<QString> paidAt{};
    std::optional<PaymentStatus> status{};
    std::optional<QString> method{};
    std::optional<QString> note{};
    std::optional<QString> externalRef{};

    // Throws EncodingError for an amount that is not finite.
    QJsonObject toJson(const JsonPath &path = {}) const;
};
