#pragma once

#include "PaymentStatus.h"
#include "Utils/JsonPath.h"

#include <QJsonObject>
#include <QString>
#include <optional>

// Body that records a new payment; absent fields are left out.
struct CreatePaymentRequest
{
    double amount = 0;
    std::optional<QString> currency{};
    std::optional<QString> paidAt{};
    std::optional<PaymentStatus> status{};
    std::optional<QString> method{};
    std::optional<QString> note{};
    std::optional<QString> externalRef{};

    // Throws EncodingError for an amount that is not finite.
    QJsonObject toJson(const JsonPath &path = {}) const;
};
