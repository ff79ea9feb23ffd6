#include "ProjectStatusStyle.h"

#include "AppTheme.h"
#include "Models/ProjectStatus.h"

ThemeColor ProjectStatusStyle::colorFor(const QString &raw)
{
    switch (projectStatusFromRaw(raw).value_or(ProjectStatus::Draft)) {
    case ProjectStatus::Draft:
        return AppTheme::color(AppTheme::Role::TextSecondary);
    case ProjectStatus::InProgress:
        return AppTheme::color(AppTheme::Role::Accent);
    case ProjectStatus::Completed:
        return AppTheme::color(AppTheme::Role::Success);
    case ProjectStatus::Rejected:
        return AppTheme::color(AppTheme::Role::Error);
    }
    Q_UNREACHABLE();
}

QString ProjectStatusStyle::label(const QString &raw) const
{
    const auto status = projectStatusFromRaw(raw);
    return status ? ::label(*status) : raw;
}

QColor ProjectStatusStyle::color(const QString &raw, bool dark) const
{
    return colorFor(raw).resolved(dark);
}
