#include "ProjectTypeOption.h"

QString rawValue(ProjectTypeOption option)
{
    switch (option) {
    case ProjectTypeOption::OneTime:
        return QStringLiteral("one_time");
    case ProjectTypeOption::Iterative:
        return QStringLiteral("iterative");
    }
    return {};
}

std::optional<ProjectTypeOption> projectTypeOptionFromRaw(const QString &raw)
{
    for (const ProjectTypeOption option : allProjectTypeOptions) {
        if (rawValue(option) == raw)
            return option;
    }
    return std::nullopt;
}

QString label(ProjectTypeOption option)
{
    switch (option) {
    case ProjectTypeOption::OneTime:
        return QStringLiteral("Разовый");
    case ProjectTypeOption::Iterative:
        return QStringLiteral("Итеративный");
    }
    return {};
}
