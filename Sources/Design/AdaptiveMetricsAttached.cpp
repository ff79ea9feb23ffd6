#include "AdaptiveMetricsAttached.h"

#include "AdaptiveMetricsReader.h"
#include "AncestorWatcher.h"

AdaptiveMetricsAttached::AdaptiveMetricsAttached(QObject *attachee)
    : QObject(attachee)
{
    if (auto *item = qobject_cast<QQuickItem *>(attachee)) {
        m_watcher = new AncestorWatcher(item, this);
        connect(m_watcher, &AncestorWatcher::chainChanged, this, &AdaptiveMetricsAttached::resolve);
        resolve();
    }
}

AdaptiveMetricsAttached *AdaptiveMetricsAttached::qmlAttachedProperties(QObject *object)
{
    return new AdaptiveMetricsAttached(object);
}

AdaptiveMetrics AdaptiveMetricsAttached::metrics() const
{
    return m_reader ? m_reader->metrics() : AdaptiveMetrics::outsideAnyReader();
}

void AdaptiveMetricsAttached::resolve()
{
    auto *reader = qobject_cast<AdaptiveMetricsReader *>(
        m_watcher->findAncestor([](QQuickItem *a) { return qobject_cast<AdaptiveMetricsReader *>(a) != nullptr; }));
    if (reader == m_reader)
        return;
    disconnect(m_readerLink);
    m_reader = reader;
    if (reader)
        m_readerLink = connect(reader, &AdaptiveMetricsReader::metricsChanged, this, &AdaptiveMetricsAttached::metricsChanged);
    Q_EMIT metricsChanged();
}
