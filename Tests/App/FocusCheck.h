#pragma once

// Whether a person sees where the keyboard focus is: the focused control shows a FocusRing, whole
// and not cut off by a clipping parent.
#include "AccessibilityAudit.h"

#include <QQuickItem>
#include <QQuickWindow>
#include <functional>

namespace FocusCheck {

inline bool isRing(const QQuickItem *item)
{
    return QByteArray(item->metaObject()->className()).startsWith("FocusRing");
}

// An item Tab stops at.
inline bool tabStop(const QQuickItem *item)
{
    return item->activeFocusOnTab() && item->isEnabled() && AccessibilityAudit::shown(item);
}

// Calls `visit` on every item under root (root included), not going into other tab stops.
inline bool anyUnder(QQuickItem *root, const QQuickItem *focused, const std::function<bool(QQuickItem *)> &visit)
{
    if (root != focused && !root->isAncestorOf(focused) && !focused->isAncestorOf(root) && tabStop(root))
        return visit(root);
    if (visit(root))
        return true;
    for (QQuickItem *child : root->childItems()) {
        if (anyUnder(child, focused, visit))
            return true;
    }
    return false;
}

// The focused item's control: its widest ancestor (or itself) that holds no other tab stop.
inline QQuickItem *controlOf(QQuickItem *focused)
{
    QQuickItem *control = focused;
    for (QQuickItem *up = focused->parentItem(); up && up->parentItem(); up = up->parentItem()) {
        const bool other = anyUnder(up, focused, [focused](QQuickItem *i) {
            return i != focused && !focused->isAncestorOf(i) && !i->isAncestorOf(focused) && tabStop(i);
        });
        if (other)
            break;
        control = up;
    }
    return control;
}

// What is wrong with the window's focus as a person sees it; empty when the focused control
// shows its ring whole.
inline QString problem(QQuickWindow *window)
{
    QQuickItem *focused = window->activeFocusItem();
    if (!focused || focused == window->contentItem())
        return QStringLiteral("nothing has the focus");
    QQuickItem *ring = nullptr;
    anyUnder(controlOf(focused), focused, [&ring](QQuickItem *i) {
        if (isRing(i) && AccessibilityAudit::shown(i))
            ring = i;
        return ring != nullptr;
    });
    if (!ring)
        return QStringLiteral("no focus ring on ") + AccessibilityAudit::describe(focused);
    // Cut off while the focused item itself is in view; one scrolled out of view is another matter.
    const QRectF drawn = ring->mapRectToScene(ring->boundingRect());
    const QRectF shownItem = focused->mapRectToScene(focused->boundingRect());
    for (const QQuickItem *up = ring->parentItem(); up; up = up->parentItem()) {
        const QRectF clip = up->mapRectToScene(up->boundingRect()).adjusted(-0.5, -0.5, 0.5, 0.5);
        if (up->clip() && clip.contains(shownItem) && !clip.contains(drawn))
            return QStringLiteral("the focus ring of %1 is cut off by %2")
                .arg(AccessibilityAudit::describe(focused), AccessibilityAudit::describe(up));
    }
    return {};
}

// The rings shown anywhere in the window.
inline QStringList shownRings(QQuickWindow *window)
{
    QStringList found;
    std::function<void(QQuickItem *)> walk = [&](QQuickItem *item) {
        if (isRing(item) && AccessibilityAudit::shown(item))
            found.append(AccessibilityAudit::describe(item));
        for (QQuickItem *child : item->childItems())
            walk(child);
    };
    walk(window->contentItem());
    return found;
}

} // namespace FocusCheck
