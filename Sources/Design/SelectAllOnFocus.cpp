#include "SelectAllOnFocus.h"

#include <QFocusEvent>
#include <QQuickItem>

SelectAllOnFocus::SelectAllOnFocus(QObject *parent)
    : QObject(parent)
{
}

// Declared inside the input, which is its parent by then.
void SelectAllOnFocus::componentComplete()
{
    m_input = qobject_cast<QQuickItem *>(parent());
    if (m_input)
        m_input->installEventFilter(this);
}

bool SelectAllOnFocus::selectsFor(Qt::FocusReason reason)
{
    switch (reason) {
    case Qt::MouseFocusReason:
    case Qt::ActiveWindowFocusReason:
    case Qt::PopupFocusReason:
    case Qt::MenuBarFocusReason:
        return false;
    default:
        return true;
    }
}

bool SelectAllOnFocus::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_input && event->type() == QEvent::FocusIn
        && selectsFor(static_cast<QFocusEvent *>(event)->reason()))
        QMetaObject::invokeMethod(m_input, "selectAll");
    return false;
}
