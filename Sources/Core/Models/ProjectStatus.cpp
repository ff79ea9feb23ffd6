#include "ProjectStatus.h"

#include "Utils/RawValueDecoding.h"

QString rawValue(ProjectStatus status)
{
    switch (status) {
    case ProjectStatus::Draft:
        return QStringLiteral("draft");
    case ProjectStatus::InProgress:
        return QStringLiteral("in_progress");
    case ProjectStatus::Completed:
        return QStringLiteral("completed");
    case ProjectStatus::Rejected:
        return QStringLiteral("rejected");
    }
    return {};
}

std::optional<ProjectStatus> projectStatusFromRaw(const QString &raw)
{
    for (const ProjectStatus status : allProjectStatuses) {
        if (rawValue(status) == raw)
            return status;
    }
    return std::nullopt;
}

QString label(ProjectStatus status)
{
    switch (status) {
    case ProjectStatus::Draft:
        return QStringLiteral("Черновик");
    case ProjectStatus::InProgress:
        return QStringLiteral("В работе");
    case ProjectStatus::Completed:
        return QStringLiteral("Завершён");
    case ProjectStatus::Rejected:
        return QStringLiteral("Отказ");
    }
    return {};
}

ProjectStatus projectStatusFromJson(const QJsonValue &value, const JsonPath &path)
{
    return RawValueDecoding::decode(value, path, "ProjectStatus", projectStatusFromRaw);
}

QJsonValue toJson(ProjectStatus status)
{
    return rawValue(status);
}
