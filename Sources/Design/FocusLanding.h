#pragma once

#include <QObject>
#include <QtQml/qqmlregistration.h>

class QQuickItem;
class QQuickWindow;
class QWindow;

// Where the keyboard focus lands after an action (a screen or a sheet opens, a request fails, an
// item is made): on the next control, with its focus ring when the person works the window by
// keyboard (as before any press), without it after a click. A focus that the window or a closing
// popup gives back to a control keeps the ring the same way.
class FocusLanding : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    explicit FocusLanding(QObject *parent = nullptr);

    // Follows the application's key presses and clicks; done once, by the first landing.
    static void watchInput();
    // Whether the last key press or click in the window was a key press; true before any.
    static bool byKeyboard(const QWindow *window);
    // Gives the item the active focus, with the focus reason of the way the window is worked (an
    // item that draws its own ring learns it through its `focusFromPointer`). Beneath an open
    // modal popup it lands once the popup has closed and given its focus back; on an item that is
    // hidden or disabled, once it shows and is enabled, unless another control took the keyboard
    // meanwhile.
    // With `inView`, the Flickables around the item scroll just enough to show it whole once it
    // has the focus, and again while its layout settles, whichever device did the action.
    static void focus(QQuickItem *item, bool inView = false);

    // A control the keys can stay on: it shows and works, and Tab stops at it or at the list it
    // is a row of.
    static bool isControl(const QQuickItem *item);

    // The open popup that takes the keys and stands above the others in the window, or null.
    static QObject *topPopup(const QQuickWindow *window);
    // Whether a landing waits in the window, for a popup to close or for its item to show.
    static bool waits(const QQuickWindow *window);

    Q_INVOKABLE void land(QQuickItem *item) const { focus(item); }
    // For an action that takes away what was in view (a deleted row): its successor is shown.
    Q_INVOKABLE void landInView(QQuickItem *item) const { focus(item, true); }
    // Keeps the keys on a view whose content reloads, until the view lands them on a control
    // again: the window's keeper leaves them there meanwhile.
    Q_INVOKABLE void park(QQuickItem *item) const;
    Q_INVOKABLE bool canHoldKeys(const QQuickItem *item) const { return isControl(item); }
    // Whether the item is the area or lies within it.
    Q_INVOKABLE bool holds(const QQuickItem *area, const QQuickItem *item) const;
    // Whether the item's window was last worked by a key (a button pressed by Space or Return)
    // rather than a click; a button that keeps the focus keeps its ring through a click.
    Q_INVOKABLE bool pressedByKeyboard(const QQuickItem *item) const;
};
