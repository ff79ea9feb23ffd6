#include "Project.h"

#include "Models/ProjectBytesDecoder.h"
#include "Models/UpdateProjectRequest.h"
#include "Utils/IsoTimestamp.h"
#include "Utils/Hashing.h"
#include "Utils/JsonReader.h"
#include "Utils/JsonStreamWriter.h"
#include "Utils/JsonWriter.h"
#include "Utils/LineCost.h"
#include "Utils/Numbers.h"

#include <QJsonArray>

namespace {

// A field every project has keeps its stored value when the edit leaves it out.
template<typename T>
void stampEdited(T &field, const std::optional<T> &value)
{
    if (value)
        field = *value;
}

// An optional field takes the edit's value as it is: absent clears it.
template<typename T>
void stampEdited(std::optional<T> &field, const std::optional<T> &value)
{
    field = value;
}

} // namespace

Project Project::fromJson(const QJsonValue &value, const JsonPath &path)
{
    const JsonReader r(value, path);
    Project p;
    p.id = r.requiredString(QStringLiteral("id"));
    p.name = r.requiredString(QStringLiteral("name"));
    p.clientName = r.optionalString(QStringLiteral("clientName"));
    p.totalCost = r.requiredDouble(QStringLiteral("totalCost"));
    p.totalHours = r.requiredDouble(QStringLiteral("totalHours"));
    p.currency = r.requiredString(QStringLiteral("currency"));
    p.status = r.requiredField<ProjectStatus>(QStringLiteral("status"), projectStatusFromJson);
    p.items = r.requiredList<ProjectItem>(QStringLiteral("items"), ProjectItem::fromJson);
    p.defaultRate = r.optionalDouble(QStringLiteral("defaultRate"));
    p.templateId = r.optionalString(QStringLiteral("templateId"));
    p.userId = r.requiredString(QStringLiteral("userId"));
    p.createdAt = r.requiredString(QStringLiteral("createdAt"));
    p.updatedAt = r.requiredString(QStringLiteral("updatedAt"));
    p.projectType = r.optionalString(QStringLiteral("projectType"));
    p.parentProjectId = r.optionalString(QStringLiteral("parentProjectId"));
    p.baseProjectId = r.optionalString(QStringLiteral("baseProjectId"));
    p.version = r.optionalInt(QStringLiteral("version"));
    p.iterationName = r.optionalString(QStringLiteral("iterationName"));
    p.iterationNotes = r.optionalString(QStringLiteral("iterationNotes"));
    p.iterationStartedAt = r.optionalString(QStringLiteral("iterationStartedAt"));
    return p;
}

QList<Project> Project::listFromJson(const QJsonValue &value, const JsonPath &path)
{
    return JsonReader::readList<Project>(value, path, Project::fromJson);
}

QList<Project> Project::listFromJson(const QByteArray &bytes)
{
    return ProjectBytesDecoder().list(bytes);
}

Project Project::fromJsonText(const QByteArray &bytes)
{
    return ProjectBytesDecoder().project(bytes);
}

QJsonObject Project::toJson(const JsonPath &path) const
{
    JsonWriter w(path);
    w.set(QStringLiteral("id"), id)
        .set(QStringLiteral("name"), name)
        .set(QStringLiteral("clientName"), clientName)
        .set(QStringLiteral("totalCost"), totalCost)
        .set(QStringLiteral("totalHours"), totalHours)
        .set(QStringLiteral("currency"), currency)
        .set(QStringLiteral("status"), ::toJson(status))
        .setList(QStringLiteral("items"), items,
                 [](const ProjectItem &item, const JsonPath &itemPath) { return item.toJson(itemPath); })
        .set(QStringLiteral("defaultRate"), defaultRate)
        .set(QStringLiteral("templateId"), templateId)
        .set(QStringLiteral("userId"), userId)
        .set(QStringLiteral("createdAt"), createdAt)
        .set(QStringLiteral("updatedAt"), updatedAt)
        .set(QStringLiteral("projectType"), projectType)
        .set(QStringLiteral("parentProjectId"), parentProjectId)
        .set(QStringLiteral("baseProjectId"), baseProjectId)
        .set(QStringLiteral("version"), version)
        .set(QStringLiteral("iterationName"), iterationName)
        .set(QStringLiteral("iterationNotes"), iterationNotes)
        .set(QStringLiteral("iterationStartedAt"), iterationStartedAt);
    return w.object();
}

QByteArray Project::toJsonText(const JsonPath &path) const
{
    QByteArray out;
    out.reserve(512 + items.size() * 160);
    appendJson(out, path);
    return out;
}

void Project::appendJson(QByteArray &out, const JsonPath &path) const
{
    // Keys in sorted order, as QJsonObject keeps them.
    JsonStreamWriter(out, path)
        .set(QLatin1StringView("baseProjectId"), baseProjectId)
        .set(QLatin1StringView("clientName"), clientName)
        .set(QLatin1StringView("createdAt"), createdAt)
        .set(QLatin1StringView("currency"), currency)
        .set(QLatin1StringView("defaultRate"), defaultRate)
        .set(QLatin1StringView("id"), id)
        .setList(QLatin1StringView("items"), items,
                 [](const ProjectItem &item, QByteArray &itemOut, const JsonPath &itemPath) {
                     item.appendJson(itemOut, itemPath);
                 })
        .set(QLatin1StringView("iterationName"), iterationName)
        .set(QLatin1StringView("iterationNotes"), iterationNotes)
        .set(QLatin1StringView("iterationStartedAt"), iterationStartedAt)
        .set(QLatin1StringView("name"), name)
        .set(QLatin1StringView("parentProjectId"), parentProjectId)
        .set(QLatin1StringView("projectType"), projectType)
        .set(QLatin1StringView("status"), rawValue(status))
        .set(QLatin1StringView("templateId"), templateId)
        .set(QLatin1StringView("totalCost"), totalCost)
        .set(QLatin1StringView("totalHours"), totalHours)
        .set(QLatin1StringView("updatedAt"), updatedAt)
        .set(QLatin1StringView("userId"), userId)
        .set(QLatin1StringView("version"), version)
        .finish();
}

Project Project::recalculatedTotals() const
{
    const double fallbackRate = defaultRate.value_or(0.0);
    double hoursTotal = 0;
    double costTotal = 0;
    for (const ProjectItem &item : items) {
        hoursTotal += item.hours >= 0 ? item.hours : 0.0; // NaN counts as 0
        costTotal += LineCost::withFallback(item.hours, item.rate, fallbackRate);
    }
    Project copy = *this;
    copy.totalHours = Numbers::roundedToCents(hoursTotal);
    copy.totalCost = Numbers::roundedToCents(costTotal);
    return copy;
}

Project Project::withGuestPersistedFields(const UpdateProjectRequest &edit, const QDateTime &now) const
{
    Project copy = *this;
    UpdateProjectRequest::forEachEditedField(
        [&](auto requestField, auto projectField) { stampEdited(copy.*projectField, edit.*requestField); });
    copy.updatedAt = isoTimestamp(now);
    return copy.recalculatedTotals();
}

size_t qHash(const Project &p, size_t seed)
{
    return Hashing::combine(seed, p.id, p.name, p.clientName, p.totalCost, p.totalHours, p.currency, p.status, p.items,
                            p.defaultRate, p.templateId, p.userId, p.createdAt, p.updatedAt, p.projectType,
                            p.parentProjectId, p.baseProjectId, p.version, p.iterationName, p.iterationNotes,
                            p.iterationStartedAt);
}
