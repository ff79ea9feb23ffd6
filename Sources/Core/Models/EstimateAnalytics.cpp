#include "EstimateAnalytics.h"

#include "Utils/APIDecoding.h"
#include "Utils/JsonReader.h"
#include "Utils/JsonWriter.h"

using APIDecoding::decodeDateString;
using APIDecoding::decodeDouble;

EstimateAnalytics::PlannedTotals EstimateAnalytics::PlannedTotals::fromJson(const JsonReader &reader)
{
    PlannedTotals totals;
    totals.totalHours = decodeDouble(reader, QStringLiteral("totalHours"));
    totals.totalCost = decodeDouble(reader, QStringLiteral("totalCost"));
    return totals;
}

QJsonObject EstimateAnalytics::PlannedTotals::toJson(const JsonPath &path) const
{
    return JsonWriter(path)
        .set(QStringLiteral("totalHours"), totalHours)
        .set(QStringLiteral("totalCost"), totalCost)
        .object();
}

EstimateAnalytics::PaidTotals EstimateAnalytics::PaidTotals::fromJson(const JsonReader &reader)
{
    PaidTotals totals;
    totals.receivedTotal = decodeDouble(reader, QStringLiteral("receivedTotal"));
    return totals;
}

QJsonObject EstimateAnalytics::PaidTotals::toJson(const JsonPath &path) const
{
    return JsonWriter(path).set(QStringLiteral("receivedTotal"), receivedTotal).object();
}

EstimateAnalytics::AiSnapshotSummary EstimateAnalytics::AiSnapshotSummary::fromJson(const JsonReader &reader)
{
    AiSnapshotSummary snapshot;
    snapshot.id = reader.requiredString(QStringLiteral("id"));
    snapshot.createdAt = decodeDateString(reader, QStringLiteral("createdAt"));
    snapshot.mode = reader.optionalString(QStringLiteral("mode"));
    snapshot.totalHours = decodeDouble(reader, QStringLiteral("totalHours"));
    snapshot.totalCost = decodeDouble(reader, QStringLiteral("totalCost"));
    snapshot.requirementsPreview = reader.optionalString(QStringLiteral("requirementsPreview"));
    return snapshot;
}

QJsonObject EstimateAnalytics::AiSnapshotSummary::toJson(const JsonPath &path) const
{
    return JsonWriter(path)
        .set(QStringLiteral("id"), id)
        .set(QStringLiteral("createdAt"), createdAt)
        .set(QStringLiteral("mode"), mode)
        .set(QStringLiteral("totalHours"), totalHours)
        .set(QStringLiteral("totalCost"), totalCost)
        .set(QStringLiteral("requirementsPreview"), requirementsPreview)
        .object();
}

EstimateAnalytics::DeltaTotals EstimateAnalytics::DeltaTotals::fromJson(const JsonReader &reader)
{
    DeltaTotals delta;
    delta.hours = decodeDouble(reader, QStringLiteral("hours"));
    delta.cost = decodeDouble(reader, QStringLiteral("cost"));
    return delta;
}

QJsonObject EstimateAnalytics::DeltaTotals::toJson(const JsonPath &path) const
{
    return JsonWriter(path).set(QStringLiteral("hours"), hours).set(QStringLiteral("cost"), cost).object();
}

EstimateAnalytics EstimateAnalytics::fromJson(const QJsonValue &value, const JsonPath &path)
{
    const JsonReader reader(value, path);
    EstimateAnalytics analytics;
    analytics.projectId = reader.requiredString(QStringLiteral("projectId"));
    analytics.currency = reader.requiredString(QStringLiteral("currency"));
    analytics.planned = reader.requiredObject<PlannedTotals>(QStringLiteral("planned"), &PlannedTotals::fromJson);
    analytics.paid = reader.requiredObject<PaidTotals>(QStringLiteral("paid"), &PaidTotals::fromJson);
    analytics.lastAiSnapshot =
        reader.optionalObject<AiSnapshotSummary>(QStringLiteral("lastAiSnapshot"), &AiSnapshotSummary::fromJson);
    analytics.deltaFromAi = reader.optionalObject<DeltaTotals>(QStringLiteral("deltaFromAi"), &DeltaTotals::fromJson);
    return analytics;
}

QJsonObject EstimateAnalytics::toJson(const JsonPath &path) const
{
    JsonWriter writer(path);
    writer.set(QStringLiteral("projectId"), projectId)
        .set(QStringLiteral("currency"), currency)
        .set(QStringLiteral("planned"), QJsonValue(planned.toJson(writer.path().key(QStringLiteral("planned")))))
        .set(QStringLiteral("paid"), QJsonValue(paid.toJson(writer.path().key(QStringLiteral("paid")))));
    if (lastAiSnapshot) {
        const QString key = QStringLiteral("lastAiSnapshot");
        writer.set(key, QJsonValue(lastAiSnapshot->toJson(writer.path().key(key))));
    }
    if (deltaFromAi) {
        const QString key = QStringLiteral("deltaFromAi");
        writer.set(key, QJsonValue(deltaFromAi->toJson(writer.path().key(key))));
    }
    return writer.object();
}
