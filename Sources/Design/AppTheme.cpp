#include "AppTheme.h"

#include "ColorContrast.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

QColor rgb(QRgb value, qreal alpha = 1.0)
{
    QColor c = QColor::fromRgb(value);
    c.setAlphaF(float(alpha));
    return c;
}

} // namespace

AppTheme::AppTheme(QObject *parent)
    : AppTheme(detectSystemDark(), parent)
{
}

AppTheme::AppTheme(bool systemDark, QObject *parent)
    : QObject(parent)
    , m_systemDark(systemDark)
{
}

ThemeColor AppTheme::color(Role role)
{
    switch (role) {
    case Role::Primary:
        return {rgb(0x14122A), rgb(0xB8A8E8)};
    case Role::Accent:
        return {rgb(0xB84D7A), rgb(0xE891B8)};
    case Role::Background:
    case Role::Surface:
        return {rgb(0xF5F5F7), rgb(0x17171C)};
    case Role::CardBackground:
    case Role::Paper:
        return {rgb(0xFAFAFA), rgb(0x1F1F26)};
    case Role::DeepBlack:
        return {rgb(0x1D1D1F), rgb(0xE6E6EA)};
    case Role::TextSecondary:
        // A little darker in light than the platform grey, so that it reads on tinted rows too.
        return {rgb(0x636368), rgb(0xE6E6EA, 0.58)};
    case Role::FieldBackground:
        return {rgb(0xFFFFFF), rgb(0x26262E)};
    case Role::Border:
        return {rgb(0x000000, 0.08), rgb(0xFFFFFF, 0.06)};
    case Role::CardShadow:
        return {rgb(0x0F172A, 0.08), rgb(0x000000, 0.35)};
    // The signal colours are texts too: each is a shade of its hue that reads at 4.5:1 on the
    // screen, card and field colours; error and success also under a faint fill of themselves
    // (an error box, a badge).
    case Role::Error:
        return {rgb(0xBB2A39), rgb(0xE2818B)};
    case Role::Success:
        return {rgb(0x1C7248), rgb(0x2CB26F)};
    case Role::Warning:
        return {rgb(0xA35F00), rgb(0xFF9F0A)};
    }
    Q_UNREACHABLE();
}

bool AppTheme::resolvesDark(const QString &preference, bool systemDark)
{
    if (preference == QLatin1String("dark"))
        return true;
    if (preference == QLatin1String("light"))
        return false;
    return systemDark;
}

bool AppTheme::detectSystemDark()
{
    if (!qGuiApp)
        return false;
    const QPalette palette = QGuiApplication::palette();
    return palette.color(QPalette::Window).lightness() < palette.color(QPalette::WindowText).lightness();
}

void AppTheme::setPreference(const QString &preference)
{
    if (m_preference == preference)
        return;
    const bool wasDark = isDark();
    m_preference = preference;
    Q_EMIT preferenceChanged();
    updateAppearance(wasDark);
}

void AppTheme::setSystemDark(bool systemDark)
{
    if (m_systemDark == systemDark)
        return;
    const bool wasDark = isDark();
    m_systemDark = systemDark;
    Q_EMIT systemDarkChanged();
    updateAppearance(wasDark);
}

QColor AppTheme::readableText(const QColor &color, qreal fillOpacity, bool dark)
{
    QList<QColor> surfaces;
    for (const Role surface : {Role::Background, Role::CardBackground, Role::FieldBackground}) {
        const QColor under = AppTheme::color(surface).resolved(dark);
        surfaces << ColorContrast::over(withOpacity(color, fillOpacity), under);
    }
    // A little above the least ratio: the fill blends on screen in 8 bits and lands a level off.
    return ColorContrast::readableOn(color, surfaces, ColorContrast::TextRatio + 0.1);
}

QColor AppTheme::withOpacity(const QColor &color, qreal opacity)
{
    QColor c = color;
    c.setAlphaF(float(color.alphaF() * opacity));
    return c;
}

void AppTheme::updateAppearance(bool wasDark)
{
    if (wasDark != isDark())
        Q_EMIT appearanceChanged();
}
