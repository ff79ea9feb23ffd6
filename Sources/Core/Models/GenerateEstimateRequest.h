#pragma once

#include "Utils/JsonPath.h"

#include <QJsonObject>
#include <QString>
#include <optional>

// Body of an AI estimate request; only the fields set are sent.
struct GenerateEstimateRequest
{
    QString projectName;
    QString requirements;
    // Raw value of an AIGenerateMode.
    QString mode;
    std::optional<QString> additionalContext{};
    std::optional<QString> projectId{};
    std::optional<QString> clientName{};
    std::optional<QString> currency{};
    std::optional<double> defaultRate{};
    std::optional<QString> projectType{};
    std::optional<QString> projectStatus{};
    std::optional<double> targetBudgetMax{};
    std::optional<QString> deadline{};

    // Throws EncodingError for a rate or budget that is not finite.
    QJsonObject toJson(const JsonPath &path = {}) const;
};
