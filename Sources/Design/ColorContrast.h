#pragma once

#include <QColor>
#include <QList>

// Contrast between colours as WCAG 2 measures it, and the shade of a colour that stays readable
// on given backgrounds.
class ColorContrast
{
public:
    ColorContrast() = delete;

    // Least ratios: body text; large text (24 px, or 18.66 px bold) and symbols.
    static constexpr qreal TextRatio = 4.5;
    static constexpr qreal LargeTextRatio = 3.0;

    // Relative luminance of an sRGB colour, 0 for black to 1 for white.
    static qreal luminance(const QColor &color);
    // From 1 (the same luminance) to 21 (black on white); the order of the colours does not matter.
    static qreal ratio(const QColor &a, const QColor &b);
    // `top`, at its own alpha, drawn over the opaque `bottom`.
    static QColor over(const QColor &top, const QColor &bottom);
    // `color` when, drawn over each background, it keeps `least` against it; otherwise the shade
    // of it nearest in lightness (the same hue and saturation, opaque) that does: darker on light
    // backgrounds, lighter on dark ones.
    static QColor readableOn(const QColor &color, const QList<QColor> &backgrounds, qreal least = TextRatio);
};
