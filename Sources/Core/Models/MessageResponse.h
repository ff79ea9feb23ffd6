#pragma once

#include "Utils/JsonPath.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QString>

// The plain answer of the registration, verification and password endpoints.
struct MessageResponse
{
    QString message;

    static MessageResponse fromJson(const QJsonValue &value, const JsonPath &path = {});
    QJsonObject toJson(const JsonPath &path = {}) const;
};
