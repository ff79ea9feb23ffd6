#include "App/AppSection.h"

namespace AppSections {

QList<AppSection> allCases()
{
    return {AppSection::Projects, AppSection::Payments, AppSection::Analytics, AppSection::Settings};
}

QString rawValue(AppSection section)
{
    switch (section) {
    case AppSection::Projects: return QStringLiteral("projects");
    case AppSection::Payments: return QStringLiteral("payments");
    case AppSection::Analytics: return QStringLiteral("analytics");
    case AppSection::Settings: return QStringLiteral("settings");
    }
    return {};
}

QString title(AppSection section)
{
    switch (section) {
    case AppSection::Projects: return QStringLiteral("Проекты");
    case AppSection::Payments: return QStringLiteral("Платежи");
    case AppSection::Analytics: return QStringLiteral("Аналитика");
    case AppSection::Settings: return QStringLiteral("Настройки");
    }
    return {};
}

QString icon(AppSection section)
{
    switch (section) {
    case AppSection::Projects: return QStringLiteral("folder");
    case AppSection::Payments: return QStringLiteral("creditcard");
    case AppSection::Analytics: return QStringLiteral("chart.bar");
    case AppSection::Settings: return QStringLiteral("gearshape");
    }
    return {};
}

std::optional<AppSection> fromRawValue(const QString &raw)
{
    for (AppSection section : allCases()) {
        if (rawValue(section) == raw)
            return section;
    }
    return std::nullopt;
}

}
