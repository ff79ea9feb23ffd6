#pragma once

#include "ColorScheme.h"

#include <QList>
#include <QString>
#include <optional>

// What the user chose for the window's appearance; the raw value is what is stored.
enum class AppColorSchemePreference { System, Light, Dark };

namespace AppColorSchemePreferences {

inline QList<AppColorSchemePreference> allCases()
{
    return {AppColorSchemePreference::System, AppColorSchemePreference::Light, AppColorSchemePreference::Dark};
}

inline QString rawValue(AppColorSchemePreference preference)
{
    switch (preference) {
    case AppColorSchemePreference::Light:
        return QStringLiteral("light");
    case AppColorSchemePreference::Dark:
        return QStringLiteral("dark");
    case AppColorSchemePreference::System:
        break;
    }
    return QStringLiteral("system");
}

// Exact raw values only; anything else is unknown.
inline std::optional<AppColorSchemePreference> fromRawValue(const QString &raw)
{
    for (AppColorSchemePreference preference : allCases()) {
        if (rawValue(preference) == raw)
            return preference;
    }
    return std::nullopt;
}

// Stored text read leniently: whatever is not exactly "light" or "dark" follows the system.
inline AppColorSchemePreference fromStoredText(const QString &stored)
{
    return fromRawValue(stored).value_or(AppColorSchemePreference::System);
}

inline std::optional<ColorScheme> colorScheme(AppColorSchemePreference preference)
{
    switch (preference) {
    case AppColorSchemePreference::Light:
        return ColorScheme::Light;
    case AppColorSchemePreference::Dark:
        return ColorScheme::Dark;
    case AppColorSchemePreference::System:
        break;
    }
    return std::nullopt;
}

} // namespace AppColorSchemePreferences
