#pragma once

#include "AdaptiveMetrics.h"

#include <QQuickItem>
#include <QtQml/qqmlregistration.h>

// Measures the space it is given and publishes it as AdaptiveMetrics to every item inside it;
// an inner reader shadows an outer one. Lay it out to fill what it is offered.
class AdaptiveMetricsReader : public QQuickItem
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(UserInterfaceSizeClass::Value horizontalSizeClass READ horizontalSizeClass WRITE setHorizontalSizeClass
                   NOTIFY metricsChanged)

public:
    explicit AdaptiveMetricsReader(QQuickItem *parent = nullptr);
    ~AdaptiveMetricsReader() override;

    AdaptiveMetrics metrics() const { return {m_sizeClass, width()}; }
    UserInterfaceSizeClass::Value horizontalSizeClass() const { return m_sizeClass; }
    void setHorizontalSizeClass(UserInterfaceSizeClass::Value sizeClass);

Q_SIGNALS:
    void metricsChanged();
    // Emitted first thing in the destructor, while the reader is still whole.
    void goingAway();

private:
    UserInterfaceSizeClass::Value m_sizeClass = UserInterfaceSizeClass::Unspecified;
};
