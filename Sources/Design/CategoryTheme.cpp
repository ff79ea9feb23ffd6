#include "CategoryTheme.h"

#include "AppTheme.h"
#include "CategoryCatalog.h"
#include "HexColor.h"

namespace {

ThemeColor fixed(qreal red, qreal green, qreal blue)
{
    const QColor c = QColor::fromRgbF(float(red), float(green), float(blue));
    return {c, c};
}

} // namespace

ThemeColor CategoryTheme::colorFor(const QString &categoryId)
{
    if (const std::optional<QString> text = CategoryCatalog::colorText(categoryId)) {
        if (const std::optional<QColor> color = HexColor::parse(*text))
            return {*color, *color};
    }
    return legacyColor(categoryId);
}

QColor CategoryTheme::color(const QString &categoryId, bool dark) const
{
    return colorFor(categoryId).resolved(dark);
}

QString CategoryTheme::name(const QString &categoryId) const
{
    return CategoryCatalog::name(categoryId);
}

ThemeColor CategoryTheme::legacyColor(const QString &categoryId)
{
    if (categoryId == QLatin1String("backend"))
        return fixed(0.15, 0.11, 0.42);
    if (categoryId == QLatin1String("frontend"))
        return AppTheme::color(AppTheme::Role::Accent);
    if (categoryId == QLatin1String("mobile"))
        return fixed(0.23, 0.51, 0.96);
    if (categoryId == QLatin1String("design"))
        return fixed(0.91, 0.28, 0.42);
    if (categoryId == QLatin1String("devops"))
        return fixed(0.96, 0.62, 0.15);
    if (categoryId == QLatin1String("qa"))
        return AppTheme::color(AppTheme::Role::Success);
    if (categoryId == QLatin1String("analytics"))
        return fixed(0.35, 0.55, 0.95);
    return AppTheme::color(AppTheme::Role::TextSecondary);
}
