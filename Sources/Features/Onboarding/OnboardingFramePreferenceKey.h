#pragma once

#include <QObject>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>

class QQuickItem;

// How lit elements hand their frames to the main window: a map from a target's key to its
// rectangle in window coordinates. Every active spotlight below a root reports one entry; entries
// are merged in item-tree order, a later report replacing an earlier one for the same target.
class OnboardingFramePreferenceKey : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    using QObject::QObject;

    static QVariantMap defaultValue() { return {}; }
    static void reduce(QVariantMap &value, const QVariantMap &next);

    // The merged reports of the active spotlights under root (root included).
    Q_INVOKABLE static QVariantMap collect(QQuickItem *root);
};
