#pragma once

#include "Utils/JsonPath.h"

#include <QJsonValue>
#include <QString>
#include <array>
#include <optional>

// Status of a project; in JSON its raw text, matched exactly.
enum class ProjectStatus { Draft, InProgress, Completed, Rejected };

// All cases in the order the screens list them.
inline constexpr std::array<ProjectStatus, 4> allProjectStatuses{ProjectStatus::Draft, ProjectStatus::InProgress,
                                                                 ProjectStatus::Completed, ProjectStatus::Rejected};

QString rawValue(ProjectStatus status);
std::optional<ProjectStatus> projectStatusFromRaw(const QString &raw);
// The status as the screens name it ("Черновик").
QString label(ProjectStatus status);

// Throws DecodingError unless value is a string holding one of the raw values.
ProjectStatus projectStatusFromJson(const QJsonValue &value, const JsonPath &path = {});
QJsonValue toJson(ProjectStatus status);
