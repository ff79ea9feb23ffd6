#pragma once

#include <QPointer>
#include <QQuickItem>
#include <QtQml/qqmlregistration.h>

// Put beside a Flickable inside a popup: the wheel over the Flickable scrolls it, also where a
// modal popup lies below the Flickable's own (Qt 6.4's overlay hands such wheel events to the
// modal popup below, which drops them). It acts only while the Flickable is the topmost item at
// the wheel's place, so a popup opened above it still keeps the wheel from it.
class PopupWheelScroll : public QQuickItem
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(QQuickItem *target READ target WRITE setTarget NOTIFY targetChanged)

public:
    explicit PopupWheelScroll(QQuickItem *parent = nullptr);

    QQuickItem *target() const { return m_target; }
    void setTarget(QQuickItem *target);

Q_SIGNALS:
    void targetChanged();

protected:
    void itemChange(ItemChange change, const ItemChangeData &value) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void watch(QQuickWindow *window);

    QPointer<QQuickWindow> m_window;
    QPointer<QQuickItem> m_target;
};
