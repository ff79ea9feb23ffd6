#include "AppSections.h"

#include "AppSection.h"

QVariantList AppSections::all()
{
    QVariantList sections;
    for (AppSection section : allAppSections()) {
        sections.append(QVariantMap{
            {QStringLiteral("id"), rawValue(section)},
            {QStringLiteral("title"), ::title(section)},
            {QStringLiteral("icon"), ::icon(section)},
        });
    }
    return sections;
}

bool AppSections::isSection(const QString &raw)
{
    return appSectionFromRaw(raw).has_value();
}

QString AppSections::title(const QString &raw)
{
    const std::optional<AppSection> section = appSectionFromRaw(raw);
    return section ? ::title(*section) : QString();
}

QString AppSections::icon(const QString &raw)
{
    const std::optional<AppSection> section = appSectionFromRaw(raw);
    return section ? ::icon(*section) : QString();
}
