#pragma once

#include "Utils/JsonPath.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <optional>

class JsonReader;

// The backend's money summary of one project or iteration. Read only from the backend; the
// outer record strictly, the figures and the snapshot date leniently (see APIDecoding).
struct EstimateAnalytics
{
    struct PlannedTotals
    {
        double totalHours = 0;
        double totalCost = 0;

        static PlannedTotals fromJson(const JsonReader &reader);
        QJsonObject toJson(const JsonPath &path = {}) const;
    };

    struct PaidTotals
    {
        double receivedTotal = 0;

        static PaidTotals fromJson(const JsonReader &reader);
        QJsonObject toJson(const JsonPath &path = {}) const;
    };

    struct AiSnapshotSummary
    {
        QString id;
        QString createdAt;
        std::optional<QString> mode;
        double totalHours = 0;
        double totalCost = 0;
        std::optional<QString> requirementsPreview;

        static AiSnapshotSummary fromJson(const JsonReader &reader);
        QJsonObject toJson(const JsonPath &path = {}) const;
    };

    struct DeltaTotals
    {
        double hours = 0;
        double cost = 0;

        static DeltaTotals fromJson(const JsonReader &reader);
        QJsonObject toJson(const JsonPath &path = {}) const;
    };

    QString projectId;
    QString currency;
    PlannedTotals planned;
    PaidTotals paid;
    std::optional<AiSnapshotSummary> lastAiSnapshot;
    std::optional<DeltaTotals> deltaFromAi;

    // Keys are read in field order, each nested record whole at its place; the first failing key
    // is the error of the whole record.
    static EstimateAnalytics fromJson(const QJsonValue &value, const JsonPath &path = {});
    QJsonObject toJson(const JsonPath &path = {}) const;
};
