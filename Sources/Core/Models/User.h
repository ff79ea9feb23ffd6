#pragma once

#include "Utils/JsonPath.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <optional>

// The signed-in account. Texts travel as they are: stamps are never parsed.
struct User
{
    QString id;
    QString email;
    std::optional<QString> firstName;
    std::optional<QString> lastName;
    std::optional<QString> createdAt;
    std::optional<QString> updatedAt;

    static User fromJson(const QJsonValue &value, const JsonPath &path = {});
    QJsonObject toJson(const JsonPath &path = {}) const;

    friend bool operator==(const User &, const User &) = default;
};
