#pragma once

#include "PaymentStatus.h"
#include "Utils/JsonPath.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <optional>

// One payment of a project or iteration, as the backend reports it. Numbers and dates are read
// leniently (see APIDecoding); the rest strictly.
struct Payment
{
    QString id;
    double amount = 0;
    QString currency;
    // Absent when the payment has no date: the key missing or null.
    std::optional<QString> paidAt;
    PaymentStatus status = PaymentStatus::Pending;
    std::optional<QString> method;
    std::optional<QString> note;
    std::optional<QString> externalRef;
    QString projectId;
    QString userId;
    QString createdAt;
    QString updatedAt;

    // Keys are read in field order; the first failing one is the error of the whole payment.
    static Payment fromJson(const QJsonValue &value, const JsonPath &path = {});
    QJsonObject toJson(const JsonPath &path = {}) const;

    friend bool operator==(const Payment &, const Payment &) = default;
};

size_t qHash(const Payment &payment, size_t seed = 0) noexcept;
