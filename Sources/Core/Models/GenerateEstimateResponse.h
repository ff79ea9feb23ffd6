#pragma once

#include "AIGeneratedItem.h"
#include "Utils/JsonPath.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>

// Answer of an AI estimate request: read as a whole, one bad line fails it all.
struct GenerateEstimateResponse
{
    QList<AIGeneratedItem> items;

    static GenerateEstimateResponse fromJson(const QJsonValue &value, const JsonPath &path = {});
    QJsonObject toJson(const JsonPath &path = {}) const;
};
