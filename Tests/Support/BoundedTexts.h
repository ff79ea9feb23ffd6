#pragma once

#include "Utils/Text.h"

#include <QString>

// What a screen may lay out of the backend's words: a few hundred characters on a few lines.
inline bool isBoundedForLayout(const QString &text)
{
    return Text::graphemes(text).size() <= Text::maxMessageGraphemes + 1
        && text.size() <= 4 * Text::maxMessageGraphemes + 1 && text.count(QLatin1Char('\n')) < Text::maxMessageLines;
}
