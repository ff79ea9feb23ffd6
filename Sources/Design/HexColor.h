#pragma once

#include <QColor>
#include <QStringView>
#include <optional>

// A colour written as six hexadecimal digits with at most one leading "#", white space around it
// ignored. Stricter than QColor's own parsers, which also take names and 3, 9 or 12 digits.
class HexColor
{
public:
    HexColor() = delete;

    static std::optional<QColor> parse(QStringView text);
};
