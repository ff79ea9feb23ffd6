#include "ProjectLineSummary.h"

#include "Utils/JsonReader.h"
#include "Utils/JsonWriter.h"

using Row = ProjectLineSummary::IterationSummaryRow;
using Aggregate = ProjectLineSummary::IterationsAggregate;

Row Row::fromJson(const QJsonValue &value, const JsonPath &path)
{
    const JsonReader r(value, path);
    Row row;
    row.id = r.requiredString(QStringLiteral("id"));
    row.version = r.requiredInt(QStringLiteral("version"));
    row.iterationName = r.optionalString(QStringLiteral("iterationName"));
    row.createdAt = r.requiredString(QStringLiteral("createdAt"));
    row.totalHours = r.requiredDouble(QStringLiteral("totalHours"));
    row.totalCost = r.requiredDouble(QStringLiteral("totalCost"));
    row.status = r.requiredField<ProjectStatus>(QStringLiteral("status"), projectStatusFromJson);
    return row;
}

QJsonObject Row::toJson(const JsonPath &path) const
{
    JsonWriter w(path);
    w.set(QStringLiteral("id"), id)
        .set(QStringLiteral("version"), version)
        .set(QStringLiteral("iterationName"), iterationName)
        .set(QStringLiteral("createdAt"), createdAt)
        .set(QStringLiteral("totalHours"), totalHours)
        .set(QStringLiteral("totalCost"), totalCost)
        .set(QStringLiteral("status"), ::toJson(status));
    return w.object();
}

Aggregate Aggregate::fromJson(const QJsonValue &value, const JsonPath &path)
{
    const JsonReader r(value, path);
    Aggregate aggregate;
    aggregate.totalHoursAll = r.requiredDouble(QStringLiteral("totalHoursAll"));
    aggregate.totalCostAll = r.requiredDouble(QStringLiteral("totalCostAll"));
    aggregate.iterationsCount = r.requiredInt(QStringLiteral("iterationsCount"));
    return aggregate;
}

QJsonObject Aggregate::toJson(const JsonPath &path) const
{
    JsonWriter w(path);
    w.set(QStringLiteral("totalHoursAll"), totalHoursAll)
        .set(QStringLiteral("totalCostAll"), totalCostAll)
        .set(QStringLiteral("iterationsCount"), iterationsCount);
    return w.object();
}

ProjectLineSummary ProjectLineSummary::fromJson(const QJsonValue &value, const JsonPath &path)
{
    const JsonReader r(value, path);
    ProjectLineSummary line;
    line.project = r.requiredField<Project>(QStringLiteral("project"), Project::fromJson);
    line.iterations = r.requiredList<Row>(QStringLiteral("iterations"), Row::fromJson);
    line.summary = r.requiredField<Aggregate>(QStringLiteral("summary"), Aggregate::fromJson);
    return line;
}

QJsonObject ProjectLineSummary::toJson(const JsonPath &path) const
{
    JsonWriter w(path);
    w.set(QStringLiteral("project"), QJsonValue(project.toJson(w.path().key(QStringLiteral("project")))))
        .setList(QStringLiteral("iterations"), iterations,
                 [](const Row &row, const JsonPath &rowPath) { return row.toJson(rowPath); })
        .set(QStringLiteral("summary"), QJsonValue(summary.toJson(w.path().key(QStringLiteral("summary")))));
    return w.object();
}
