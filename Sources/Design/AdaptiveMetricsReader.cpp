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
    AncestorWatcher::providerGoing();
}

void AdaptiveMetricsReader::setHorizontalSizeClass(UserInterfaceSizeClass::Value sizeClass)
{
    if (m_sizeClass == sizeClass)
        return;
    m_sizeClass = sizeClass;
    Q_EMIT metricsChanged();
}
