#pragma once

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

    static User fromJson(const QJsonValue &value, const QString &path = {});
    QJsonObject toJson(const QString &path = {}) const;

    friend bool operator==(const User &, const User &) = default;
};
