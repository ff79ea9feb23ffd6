#pragma once

#include <QPointer>
#include <QQuickItem>
#include <QtQml/qqmlregistration.h>

// Put once in a window: whenever the keyboard moves the focus (Tab, arrows, a key that opens
// something), every Flickable around the newly focused item scrolls just enough to show it, so
// the focus never sits where the user cannot see it. While a layout still settles (a list
// that fills, a section above that gets its height) the item is shown again wherever it moves,
// until the focus moves on or the pointer or the wheel is used. A click leaves the scroll alone.
class KeyboardFocusInView : public QQuickItem
{
    Q_OBJECT
    QML_ELEMENT

public:
    explicit KeyboardFocusInView(QQuickItem *parent = nullptr);
    ~KeyboardFocusInView() override;

    // Scrolls the Flickables around the item, innermost first, until it shows in each.
    static void reveal(QQuickItem *item);
    // Shows the focused item now and while its layout settles, as after a key, whatever device
    // acted: a landing after an action puts the keyboard where the person can see it.
    static void keepInView(QQuickItem *item);

protected:
    void itemChange(ItemChange change, const ItemChangeData &value) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void updatePolish() override;

private:
    void watch(QQuickWindow *window);
    void focusChanged();
    // Follows the geometry of the item, of its ancestors and of the Flickables' content among
    // them; any change shows the item again at the window's next polish.
    void follow(QQuickItem *item);
    void stopFollowing();

private Q_SLOTS:
    void followedMoved();

private:
    QPointer<QQuickWindow> m_window;
    QMetaObject::Connection m_connection;
    bool m_byKeyboard = false;
    // The item focused by a key, kept in view while it moves.
    QPointer<QQuickItem> m_revealed;
    QList<QMetaObject::Connection> m_followLinks;
    bool m_chainChanged = false;
};
