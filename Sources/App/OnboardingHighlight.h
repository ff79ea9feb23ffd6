#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QtQml/qqmlregistration.h>

class QQuickItem;

// The element the guided tour lights, handed down the item tree: a writer sets
// `OnboardingHighlight.target` on an item, and every item below it reads that value (the nearest
// writer wins). Items that no writer encloses read an empty key, meaning none.
class OnboardingHighlight : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("OnboardingHighlight is an attached property")
    QML_ATTACHED(OnboardingHighlight)
    Q_PROPERTY(QString target READ target WRITE setTarget NOTIFY targetChanged)

public:
    explicit OnboardingHighlight(QObject *attachee);
    static OnboardingHighlight *qmlAttachedProperties(QObject *object);

    QString target() const;
    void setTarget(const QString &target);

Q_SIGNALS:
    void targetChanged();

private:
    void resolve();
    void resolveBelow(QQuickItem *item);

    QPointer<QQuickItem> m_item;
    bool m_isWriter = false;
    QString m_own;
    QPointer<OnboardingHighlight> m_source;
    QList<QMetaObject::Connection> m_watches;
};
