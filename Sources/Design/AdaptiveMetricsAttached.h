#pragma once

#include "AdaptiveMetrics.h"

#include <QObject>
#include <QList>
#include <QtQml/qqmlregistration.h>

class AdaptiveMetricsReader;
class AncestorWatcher;
class QQuickItem;

// `AdaptiveMetrics.width`, `.isCompact` and `.horizontalSizeClass` on any item: the metrics of
// the nearest enclosing AdaptiveMetricsReader, or a compact 390 points outside every reader.
class AdaptiveMetricsAttached : public QObject
{
    Q_OBJECT
    QML_NAMED_ELEMENT(AdaptiveMetrics)
    QML_UNCREATABLE("AdaptiveMetrics is an attached property")
    QML_ATTACHED(AdaptiveMetricsAttached)

    Q_PROPERTY(double width READ width NOTIFY metricsChanged)
    Q_PROPERTY(bool isCompact READ isCompact NOTIFY metricsChanged)
    Q_PROPERTY(UserInterfaceSizeClass::Value horizontalSizeClass READ horizontalSizeClass NOTIFY metricsChanged)
    Q_PROPERTY(double sidebarMinWidth READ sidebarMinWidth NOTIFY metricsChanged)
    Q_PROPERTY(double sidebarIdealWidth READ sidebarIdealWidth NOTIFY metricsChanged)
    Q_PROPERTY(double sidebarMaxWidth READ sidebarMaxWidth NOTIFY metricsChanged)
    Q_PROPERTY(double contentMinWidth READ contentMinWidth NOTIFY metricsChanged)
    Q_PROPERTY(double detailMinWidth READ detailMinWidth NOTIFY metricsChanged)
    Q_PROPERTY(double contentIdealWidth READ contentIdealWidth NOTIFY metricsChanged)
    Q_PROPERTY(double placeholderPadding READ placeholderPadding NOTIFY metricsChanged)
    Q_PROPERTY(double placeholderMaxWidth READ placeholderMaxWidth NOTIFY metricsChanged)

public:
    explicit AdaptiveMetricsAttached(QObject *attachee);

    static AdaptiveMetricsAttached *qmlAttachedProperties(QObject *object);

    AdaptiveMetrics metrics() const;
    double width() const { return metrics().width; }
    bool isCompact() const { return metrics().isCompact(); }
    UserInterfaceSizeClass::Value horizontalSizeClass() const { return metrics().horizontalSizeClass; }
    double sidebarMinWidth() const { return metrics().sidebarMinWidth(); }
    double sidebarIdealWidth() const { return metrics().sidebarIdealWidth(); }
    double sidebarMaxWidth() const { return metrics().sidebarMaxWidth(); }
    double contentMinWidth() const { return metrics().contentMinWidth(); }
    double detailMinWidth() const { return metrics().detailMinWidth(); }
    double contentIdealWidth() const { return metrics().contentIdealWidth(); }
    double placeholderPadding() const { return metrics().placeholderPadding(); }
    double placeholderMaxWidth() const { return metrics().placeholderMaxWidth(); }

Q_SIGNALS:
    void metricsChanged();

private:
    void resolve();

    AncestorWatcher *m_watcher = nullptr;
    void follow(AdaptiveMetricsReader *reader);

    // Dropped by the reader's goingAway, before its base class is torn down.
    AdaptiveMetricsReader *m_reader = nullptr;
    QList<QMetaObject::Connection> m_readerLinks;
};
