#pragma once

#include "Utils/JsonPath.h"

#include <QJsonObject>
#include <QString>
#include <optional>

// Names are left out of the body when not given.
struct RegisterRequest
{
    QString email;
    QString password;
    std::optional<QString> firstName{};
    std::optional<QString> lastName{};

    QJsonObject toJson(const JsonPath &path = {}) const;
};
