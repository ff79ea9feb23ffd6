#pragma once

#include <QColor>

// One colour of the theme with its value for each appearance.
struct ThemeColor
{
    QColor light;
    QColor dark;

    QColor resolved(bool isDark) const { return isDark ? dark : light; }
    friend bool operator==(const ThemeColor &, const ThemeColor &) = default;
};
