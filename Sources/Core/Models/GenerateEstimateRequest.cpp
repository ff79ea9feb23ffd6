#include "GenerateEstimateRequest.h"

#include "Utils/JsonWriter.h"

QJsonObject GenerateEstimateRequest::toJson(const JsonPath &path) const
{
    return JsonWriter(path)
        .set(QStringLiteral("projectName"), projectName)
        .set(QStringLiteral("requirements"), requirements)
        .set(QStringLiteral("mode"), mode)
        .set(QStringLiteral("additionalContext"), additionalContext)
        .set(QStringLiteral("projectId"), projectId)
        .set(QStringLiteral("clientName"), clientName)
        .set(QStringLiteral("currency"), currency)
        .set(QStringLiteral("defaultRate"), defaultRate)
        .set(QStringLiteral("projectType"), projectType)
        .set(QStringLiteral("projectStatus"), projectStatus)
        .set(QStringLiteral("targetBudgetMax"), targetBudgetMax)
        .set(QStringLiteral("deadline"), deadline)
        .object();
}
