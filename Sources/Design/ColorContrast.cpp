#include "ColorContrast.h"

#include <algorithm>
#include <cmath>

namespace {

qreal linear(qreal channel)
{
    return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

// Drawn on screen the colour has 8 bits a channel: judged as drawn.
QColor drawn(const QColor &color)
{
    return QColor::fromRgb(color.rgb());
}

bool readsOnAll(const QColor &color, const QList<QColor> &backgrounds, qreal least)
{
    return std::all_of(backgrounds.cbegin(), backgrounds.cend(), [&](const QColor &background) {
        const QColor under = drawn(background);
        return ColorContrast::ratio(drawn(ColorContrast::over(color, under)), under) >= least;
    });
}

} // namespace

qreal ColorContrast::luminance(const QColor &color)
{
    const QColor c = color.toRgb();
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

qreal ColorContrast::ratio(const QColor &a, const QColor &b)
{
    const qreal la = luminance(a);
    const qreal lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor ColorContrast::over(const QColor &top, const QColor &bottom)
{
    const QColor t = top.toRgb();
    const QColor b = bottom.toRgb();
    const qreal a = t.alphaF();
    return QColor::fromRgbF(float(t.redF() * a + b.redF() * (1 - a)), float(t.greenF() * a + b.greenF() * (1 - a)),
                            float(t.blueF() * a + b.blueF() * (1 - a)));
}

QColor ColorContrast::readableOn(const QColor &color, const QList<QColor> &backgrounds, qreal least)
{
    if (backgrounds.isEmpty() || readsOnAll(color, backgrounds, least))
        return color;
    // A translucent colour is shaded as it shows on the first background.
    const QColor start = color.alpha() == 255 ? color.toHsl() : over(color, backgrounds.first()).toHsl();
    const bool darken = luminance(backgrounds.first()) > 0.18;
    const float hue = start.hslHueF();
    const float saturation = start.hslSaturationF();
    // Steps of a quarter percent of lightness: about one level of 8 bits.
    const int steps = 400;
    const float from = start.lightnessF();
    for (int i = 1; i <= steps; ++i) {
        const float lightness = std::clamp(darken ? from - i / float(steps) : from + i / float(steps), 0.0f, 1.0f);
        const QColor shade = drawn(QColor::fromHslF(hue, saturation, lightness));
        if (readsOnAll(shade, backgrounds, least))
            return shade;
        if (lightness <= 0 || lightness >= 1)
            break;
    }
    return darken ? QColor(Qt::black) : QColor(Qt::white);
}
