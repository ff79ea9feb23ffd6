#include "AppSection.h"

#include <array>

namespace {

struct SectionRow
{
    AppSection section;
    const char *raw;
    const char *title;
    const char *icon;
};

constexpr std::array<SectionRow, 4> rows = {{
    {AppSection::Projects, "projects", "Проекты", "folder"},
    {AppSection::Payments, "payments", "Платежи", "creditcard"},
    {AppSection::Analytics, "analytics", "Аналитика", "chart.bar"},
    {AppSection::Settings, "settings", "Настройки", "gearshape"},
}};

const SectionRow &row(AppSection section)
{
    return rows[size_t(section)];
}

} // namespace

QList<AppSection> allAppSections()
{
    QList<AppSection> sections;
    for (const SectionRow &r : rows)
        sections.append(r.section);
    return sections;
}

QString rawValue(AppSection section)
{
    return QString::fromLatin1(row(section).raw);
}

QString title(AppSection section)
{
    return QString::fromUtf8(row(section).title);
}

QString icon(AppSection section)
{
    return QString::fromLatin1(row(section).icon);
}

std::optional<AppSection> appSectionFromRaw(QStringView raw)
{
    for (const SectionRow &r : rows) {
        if (raw == QLatin1String(r.raw))
            return r.section;
    }
    return std::nullopt;
}
