#pragma once

#include <QPointer>
#include <QQuickItem>
#include <QtQml/qqmlregistration.h>

// Put once in a window: Return and Enter press the focused button as Space does (pressed look,
// then the click on release), whatever kind of button it is. A button that handles Return
// itself keeps its own meaning; the key never goes on to a form around the button.
class ButtonReturnKey : public QQuickItem
{
    Q_OBJECT
    QML_ELEMENT

public:
    explicit ButtonReturnKey(QQuickItem *parent = nullptr);

protected:
    void itemChange(ItemChange change, const ItemChangeData &value) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void watch(QQuickWindow *window);

    QPointer<QQuickWindow> m_window;
    // The button a Return press went to as Space, and the key, until its release.
    QPointer<QQuickItem> m_pressed;
    int m_key = 0;
};
