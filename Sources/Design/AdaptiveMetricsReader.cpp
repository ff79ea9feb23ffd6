#include "AdaptiveMetricsReader.h"

#include "AncestorWatcher.h"

AdaptiveMetricsReader::AdaptiveMetricsReader(QQuickItem *parent)
    : QQuickItem(parent)
{
    connect(this, &QQuickItem::widthChanged, this, &AdaptiveMetricsReader::metricsChanged);
    AncestorWatcher::providersChanged();
}

AdaptiveMetricsReader::~AdaptiveMetricsReader()
{
    Q_EMIT goingAway();
    // The children leave now, while this is still a reader: left to the base destructor, they
    // would look for their reader up a chain that holds this half-destroyed one.
    const QList<QQuickItem *> children = childItems();
    for (QQuickItem *child : children)
        child->setParentItem(nullptr);
    AncestorWatcher::providerGoing();
}

void AdaptiveMetricsReader::setHorizontalSizeClass(UserInterfaceSizeClass::Value sizeClass)
{
    if (m_sizeClass == sizeClass)
        return;
    m_sizeClass = sizeClass;
    Q_EMIT metricsChanged();
}
