#pragma once

#include <QString>

// One icon of the bundled icon font: its character and a turn to apply when the set only has
// the same shape in another direction.
struct IconGlyph
{
    QString iconName; // the name in the icon set, for people reading the map
    char32_t codepoint = 0;
    qreal rotation = 0;
};
