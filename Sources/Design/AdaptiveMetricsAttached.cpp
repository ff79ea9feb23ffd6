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
    follow(qobject_cast<AdaptiveMetricsReader *>(
        m_watcher->findAncestor([](QQuickItem *a) { return qobject_cast<AdaptiveMetricsReader *>(a) != nullptr; })));
}

void AdaptiveMetricsAttached::follow(AdaptiveMetricsReader *reader)
{
    if (reader == m_reader)
        return;
    for (const QMetaObject::Connection &link : std::as_const(m_readerLinks))
        disconnect(link);
    m_readerLinks.clear();
    m_reader = reader;
    if (reader) {
        m_readerLinks.append(
            connect(reader, &AdaptiveMetricsReader::metricsChanged, this, &AdaptiveMetricsAttached::metricsChanged));
        m_readerLinks.append(connect(reader, &AdaptiveMetricsReader::goingAway, this, [this] { follow(nullptr); }));
    }
    Q_EMIT metricsChanged();
}
