#include "App/OnboardingHighlight.h"

#include <QQuickItem>

OnboardingHighlight::OnboardingHighlight(QObject *attachee)
    : QObject(attachee)
    , m_item(qobject_cast<QQuickItem *>(attachee))
{
    resolve();
}

OnboardingHighlight *OnboardingHighlight::qmlAttachedProperties(QObject *object)
{
    return new OnboardingHighlight(object);
}

QString OnboardingHighlight::target() const
{
    if (m_isWriter)
        return m_own;
    return m_source ? m_source->target() : QString();
}

void OnboardingHighlight::setTarget(const QString &target)
{
    const QString before = this->target();
    const bool wasWriter = m_isWriter;
    m_isWriter = true;
    m_own = target;
    if (!wasWriter) {
        for (const QMetaObject::Connection &watch : std::as_const(m_watches))
            disconnect(watch);
        m_watches.clear();
        m_source = nullptr;
        // Items below that already looked past this one now find it.
        if (m_item) {
            const QList<QQuickItem *> children = m_item->childItems();
            for (QQuickItem *child : children)
                resolveBelow(child);
        }
    }
    if (before != m_own)
        Q_EMIT targetChanged();
}

void OnboardingHighlight::resolveBelow(QQuickItem *item)
{
    auto *attached = qobject_cast<OnboardingHighlight *>(qmlAttachedPropertiesObject<OnboardingHighlight>(item, false));
    if (attached) {
        attached->resolve();
        if (attached->m_isWriter)
            return;
    }
    const QList<QQuickItem *> children = item->childItems();
    for (QQuickItem *child : children)
        resolveBelow(child);
}

void OnboardingHighlight::resolve()
{
    if (m_isWriter)
        return;
    const QString before = target();
    for (const QMetaObject::Connection &watch : std::as_const(m_watches))
        disconnect(watch);
    m_watches.clear();
    m_source = nullptr;
    // Any move of this item or of an ancestor may change the nearest writer.
    QQuickItem *item = m_item;
    while (item) {
        m_watches.append(connect(item, &QQuickItem::parentChanged, this, &OnboardingHighlight::resolve));
        QQuickItem *parent = item->parentItem();
        if (parent) {
            auto *attached =
                qobject_cast<OnboardingHighlight *>(qmlAttachedPropertiesObject<OnboardingHighlight>(parent, false));
            if (attached && attached->m_isWriter) {
                m_source = attached;
                m_watches.append(
                    connect(attached, &OnboardingHighlight::targetChanged, this, &OnboardingHighlight::targetChanged));
                break;
            }
        }
        item = parent;
    }
    if (target() != before)
        Q_EMIT targetChanged();
}
