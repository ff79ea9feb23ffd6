#include "Features/Onboarding/OnboardingFramePreferenceKey.h"

#include <QQuickItem>

namespace {

// A spotlight marks itself with these two properties while it may report.
constexpr auto activeProperty = "onboardingSpotlightActive";
constexpr auto reportProperty = "onboardingSpotlightReport";

void collectInto(QVariantMap &value, QQuickItem *item)
{
    if (!item->isVisible())
        return;
    const QVariant active = item->property(activeProperty);
    if (active.isValid() && active.toBool()) {
        const QString key = item->property(reportProperty).toString();
        if (!key.isEmpty()) {
            const QRectF frame = item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
            OnboardingFramePreferenceKey::reduce(value, {{key, frame}});
        }
    }
    const QList<QQuickItem *> children = item->childItems();
    for (QQuickItem *child : children)
        collectInto(value, child);
}

}

void OnboardingFramePreferenceKey::reduce(QVariantMap &value, const QVariantMap &next)
{
    for (auto it = next.constBegin(); it != next.constEnd(); ++it)
        value.insert(it.key(), it.value());
}

QVariantMap OnboardingFramePreferenceKey::collect(QQuickItem *root)
{
    QVariantMap value = defaultValue();
    if (root)
        collectInto(value, root);
    return value;
}
