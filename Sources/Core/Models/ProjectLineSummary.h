#pragma once

#include "Project.h"
#include "ProjectStatus.h"
#include "Utils/JsonPath.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>
#include <optional>

// A root project with its iterations, as the backend summarises the line.
struct ProjectLineSummary
{
    struct IterationSummaryRow
    {
        QString id;
        qint64 version = 0; // required here, unlike on the project
        std::optional<QString> iterationName;
        QString createdAt;
        double totalHours = 0;
        double totalCost = 0;
        ProjectStatus status = ProjectStatus::Draft;

        static IterationSummaryRow fromJson(const QJsonValue &value, const JsonPath &path = {});
        QJsonObject toJson(const JsonPath &path = {}) const;
        bool operator==(const IterationSummaryRow &other) const = default;
    };

    struct IterationsAggregate
    {
        double totalHoursAll = 0;
        double totalCostAll = 0;
        qint64 iterationsCount = 0;

        static IterationsAggregate fromJson(const QJsonValue &value, const JsonPath &path = {});
        QJsonObject toJson(const JsonPath &path = {}) const;
        bool operator==(const IterationsAggregate &other) const = default;
    };

    Project project;
    QList<IterationSummaryRow> iterations;
    IterationsAggregate summary;

    static ProjectLineSummary fromJson(const QJsonValue &value, const JsonPath &path = {});
    QJsonObject toJson(const JsonPath &path = {}) const;
    bool operator==(const ProjectLineSummary &other) const = default;
};
