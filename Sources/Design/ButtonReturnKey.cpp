#include "ButtonReturnKey.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QQuickWindow>

ButtonReturnKey::ButtonReturnKey(QQuickItem *parent)
    : QQuickItem(parent)
{
}

void ButtonReturnKey::itemChange(ItemChange change, const ItemChangeData &value)
{
    if (change == ItemSceneChange)
        watch(value.window);
    QQuickItem::itemChange(change, value);
}

void ButtonReturnKey::watch(QQuickWindow *window)
{
    if (m_window == window)
        return;
    if (m_window)
        m_window->removeEventFilter(this);
    m_window = window;
    m_pressed = nullptr;
    if (window)
        window->installEventFilter(this);
}

namespace {

bool isReturn(const QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    return (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && modifiers == Qt::NoModifier;
}

// Sends the key to the item alone, as the window would, without passing it on to its parents.
bool deliver(QQuickItem *item, QEvent::Type type, int key, const QKeyEvent *original, const QString &text)
{
    QKeyEvent event(type, key, original->modifiers(), text, original->isAutoRepeat(), ushort(original->count()));
    event.setAccepted(true);
    QCoreApplication::sendEvent(item, &event);
    return event.isAccepted();
}

} // namespace

bool ButtonReturnKey::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_window || (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease))
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (!isReturn(key))
        return false;
    const QString space = QStringLiteral(" ");
    if (event->type() == QEvent::KeyRelease) {
        if (!m_pressed || key->key() != m_key)
            return false;
        // A held key presses once, as a held Space does on a button without auto-repeat.
        if (key->isAutoRepeat())
            return true;
        QQuickItem *button = m_pressed;
        m_pressed = nullptr;
        deliver(button, QEvent::KeyRelease, Qt::Key_Space, key, space);
        return true;
    }
    if (key->isAutoRepeat() && m_pressed)
        return true;
    QQuickItem *focused = m_window->activeFocusItem();
    if (!focused || !focused->inherits("QQuickAbstractButton") || !focused->isEnabled())
        return false;
    // Its own meaning of Return first (a list row that opens, a field that drops down).
    if (deliver(focused, QEvent::KeyPress, key->key(), key, key->text()))
        return true;
    m_pressed = focused;
    m_key = key->key();
    deliver(focused, QEvent::KeyPress, Qt::Key_Space, key, space);
    return true;
}
