#pragma once

#include <QPointer>
#include <QQuickItem>
#include <QtQml/qqmlregistration.h>

// Put once in a window: whenever the keyboard moves the focus (Tab, arrows, a key that opens
// something), every Flickable around the newly focused item scrolls just enough to show it, so
// the focus never sits where the user cannot see it. A click leaves the scroll alone.
class KeyboardFocusInView : public QQuickItem
{
    Q_OBJECT
    QML_ELEMENT

public:
    explicit KeyboardFocusInView(QQuickItem *parent = nullptr);

    // Scrolls the Flickables around the item, innermost first, until it shows in each.
    static void reveal(QQuickItem *item);

protected:
    void itemChange(ItemChange change, const ItemChangeData &value) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void watch(QQuickWindow *window);
    void focusChanged();
    void frameShown();

    QPointer<QQuickWindow> m_window;
    QMetaObject::Connection m_connection;
    QMetaObject::Connection m_frameConnection;
    bool m_byKeyboard = false;
    // The item just focused by a key, shown again over the next frames: a layout still settling
    // (a list that grows, a section above that gets its height) can move it out of view.
    QPointer<QQuickItem> m_revealed;
    int m_framesLeft = 0;
};
