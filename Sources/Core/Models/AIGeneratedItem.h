#pragma once

#include "Utils/JsonPath.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QString>

// One line proposed by the AI; the category is as the AI named it, not yet normalised.
struct AIGeneratedItem
{
    QString title;
    QString description;
    QString category;
    double hours = 0;
    double rate = 0;

    static AIGeneratedItem fromJson(const QJsonValue &value, const JsonPath &path = {});
    QJsonObject toJson(const JsonPath &path = {}) const;
};
