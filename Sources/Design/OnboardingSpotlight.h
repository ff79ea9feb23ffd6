#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRectF>
#include <QQuickItem>
#include <QtQml/qqmlregistration.h>

class AncestorWatcher;
class OnboardingEnvironment;

// Marks an element that the tour can light. While `active`, it draws the accent ring 6 points
// outside the element and reports the element's own window frame under `highlight` to the
// nearest collector (Onboarding.collectsFrames); while inactive it does neither and the element
// is untouched. Callers set `active` to `Onboarding.highlight === highlight`.
class OnboardingSpotlight : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("OnboardingSpotlight is an attached property")
    QML_ATTACHED(OnboardingSpotlight)

    Q_PROPERTY(bool active READ isActive WRITE setActive NOTIFY activeChanged)
    Q_PROPERTY(QString highlight READ highlight WRITE setHighlight NOTIFY highlightChanged)
    Q_PROPERTY(QQuickItem *ring READ ring NOTIFY ringChanged)

public:
    explicit OnboardingSpotlight(QObject *attachee);
    ~OnboardingSpotlight() override;

    static OnboardingSpotlight *qmlAttachedProperties(QObject *object);

    bool isActive() const { return m_active; }
    void setActive(bool active);
    QString highlight() const { return m_highlight; }
    void setHighlight(const QString &highlight);
    QQuickItem *ring() const { return m_ring; }

Q_SIGNALS:
    void activeChanged();
    void highlightChanged();
    void ringChanged();

private:
    void update();
    void track();
    void reportFrame();
    void withdrawReport();
    void showRing();
    void hideRing();
    void placeRing();

    QPointer<QQuickItem> m_item;
    AncestorWatcher *m_watcher = nullptr;
    bool m_active = false;
    QString m_highlight;
    QPointer<QQuickItem> m_ring;
    QPointer<OnboardingEnvironment> m_collector;
    QList<QMetaObject::Connection> m_geometryLinks;
};
