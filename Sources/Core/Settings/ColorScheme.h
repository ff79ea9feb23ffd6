#pragma once

#include <QString>

// A forced appearance of the window.
enum class ColorScheme { Light, Dark };

inline QString colorSchemeName(ColorScheme scheme)
{
    return scheme == ColorScheme::Dark ? QStringLiteral("dark") : QStringLiteral("light");
}
