#include "SubmitOnReturn.h"

#include <QKeyEvent>
#include <QQuickItem>
#include <QQuickWindow>

SubmitOnReturn::SubmitOnReturn(QObject *attachee)
    : QObject(attachee)
    , m_item(qobject_cast<QQuickItem *>(attachee))
{
    if (m_item)
        m_item->installEventFilter(this);
}

SubmitOnReturn *SubmitOnReturn::qmlAttachedProperties(QObject *object)
{
    return new SubmitOnReturn(object);
}

// The text input lets Return pass on to its parents after it has taken it as "accepted".
bool SubmitOnReturn::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_item || event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    QQuickWindow *window = m_item->window();
    QQuickItem *focus = window ? window->activeFocusItem() : nullptr;
    if (!focus || !focus->inherits("QQuickTextInput") || (focus != m_item && !m_item->isAncestorOf(focus)))
        return false;
    event->accept();
    Q_EMIT submitted();
    return true;
}
