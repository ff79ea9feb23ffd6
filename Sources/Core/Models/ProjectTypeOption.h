#pragma once

#include <QString>
#include <array>
#include <optional>

// Kind of project. Not coded itself: projects carry its raw text as free text, so an unknown
// text survives a round trip.
enum class ProjectTypeOption { OneTime, Iterative };

inline constexpr std::array<ProjectTypeOption, 2> allProjectTypeOptions{ProjectTypeOption::OneTime,
                                                                        ProjectTypeOption::Iterative};

QString rawValue(ProjectTypeOption option);
std::optional<ProjectTypeOption> projectTypeOptionFromRaw(const QString &raw);
// The kind as the screens name it ("Разовый").
QString label(ProjectTypeOption option);
