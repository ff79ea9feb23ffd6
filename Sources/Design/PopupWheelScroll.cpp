#include "PopupWheelScroll.h"

#include <QCoreApplication>
#include <QQuickWindow>
#include <QWheelEvent>

#include <algorithm>

namespace {

// The item that is drawn on top at the scene point, among those that take pointer events
// (visible and enabled), as the window would pick it.
QQuickItem *topmostAt(QQuickItem *item, const QPointF &scenePoint)
{
    if (!item->isVisible() || !item->isEnabled())
        return nullptr;
    const bool inside = item->contains(item->mapFromScene(scenePoint));
    if (item->clip() && !inside)
        return nullptr;
    QList<QQuickItem *> children = item->childItems();
    std::stable_sort(children.begin(), children.end(),
                     [](const QQuickItem *a, const QQuickItem *b) { return a->z() < b->z(); });
    for (auto it = children.crbegin(); it != children.crend(); ++it) {
        if (QQuickItem *found = topmostAt(*it, scenePoint))
            return found;
    }
    return inside ? item : nullptr;
}

} // namespace

PopupWheelScroll::PopupWheelScroll(QQuickItem *parent)
    : QQuickItem(parent)
{
}

void PopupWheelScroll::setTarget(QQuickItem *target)
{
    if (m_target == target)
        return;
    m_target = target;
    Q_EMIT targetChanged();
}

void PopupWheelScroll::itemChange(ItemChange change, const ItemChangeData &value)
{
    if (change == ItemSceneChange)
        watch(value.window);
    QQuickItem::itemChange(change, value);
}

void PopupWheelScroll::watch(QQuickWindow *window)
{
    if (m_window == window)
        return;
    if (m_window)
        m_window->removeEventFilter(this);
    m_window = window;
    // Installed after the overlay's own filter, so it sees the wheel first.
    if (window)
        window->installEventFilter(this);
}

bool PopupWheelScroll::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_window || event->type() != QEvent::Wheel || !m_target || !m_target->isVisible())
        return false;
    auto *wheel = static_cast<QWheelEvent *>(event);
    const QPointF scenePoint = wheel->scenePosition();
    QQuickItem *top = topmostAt(m_window->contentItem(), scenePoint);
    if (!top || (top != m_target && !m_target->isAncestorOf(top)))
        return false;
    QWheelEvent delivered(m_target->mapFromScene(scenePoint), wheel->globalPosition(), wheel->pixelDelta(),
                          wheel->angleDelta(), wheel->buttons(), wheel->modifiers(), wheel->phase(), wheel->inverted(),
                          wheel->source(), wheel->pointingDevice());
    delivered.setTimestamp(wheel->timestamp());
    QCoreApplication::sendEvent(m_target, &delivered);
    return true;
}
