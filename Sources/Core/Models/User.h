#pragma once

#include "Utils/JsonPath.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QObject>
#include <QString>
#include <optional>

// The signed-in account. Texts travel as they are: stamps are never parsed.
struct User
{
    Q_GADGET
    // Read by QML as a value (auth.user.email); an absent name reads as empty.
    Q_PROPERTY(QString id MEMBER id CONSTANT)
    Q_PROPERTY(QString email MEMBER email CONSTANT)
    Q_PROPERTY(QString firstName READ firstNameText CONSTANT)
    Q_PROPERTY(QString lastName READ lastNameText CONSTANT)

public:
    QString id;
    QString email;
    std::optional<QString> firstName;
    std::optional<QString> lastName;
    std::optional<QString> createdAt;
    std::optional<QString> updatedAt;

    QString firstNameText() const { return firstName.value_or(QString()); }
    QString lastNameText() const { return lastName.value_or(QString()); }

    static User fromJson(const QJsonValue &value, const JsonPath &path = {});
    QJsonObject toJson(const JsonPath &path = {}) const;

    friend bool operator==(const User &, const User &) = default;
};
