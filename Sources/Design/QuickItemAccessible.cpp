#include "QuickItemAccessible.h"

#include "AccessibleState.h"

#include <QtQuick/private/qaccessiblequickitem_p.h>
#include <QtQuick/private/qquickaccessibleattached_p.h>
#include <QtQuick/private/qquickitem_p.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QQuickWindow>
#include <algorithm>

namespace {

// The item's `Accessible.focused`, set by a row that stands for the keyboard's focus of its list.
bool declaresFocus(const QQuickItem *item)
{
    const QQuickAccessibleAttached *attached = QQuickAccessibleAttached::attachedProperties(item);
    return attached && attached->property("focused").toBool();
}

bool hasRowDeclaringFocus(const QQuickItem *item, int depth)
{
    if (depth == 0)
        return false;
    const QList<QQuickItem *> children = item->childItems();
    return std::any_of(children.cbegin(), children.cend(), [depth](const QQuickItem *child) {
        return child->isVisible() && (declaresFocus(child) || hasRowDeclaringFocus(child, depth - 1));
    });
}

// Whether a row of the list (or other focus scope) the item is in stands for the focus instead:
// a list gives its focus to one row while another is the current one.
bool yieldsFocus(const QQuickItem *item)
{
    for (const QQuickItem *scope = item; scope; scope = scope->parentItem()) {
        if (scope->flags() & QQuickItem::ItemIsFocusScope)
            return hasRowDeclaringFocus(scope, 3);
    }
    return false;
}

class DisabledAwareItem : public QAccessibleQuickItem
{
public:
    explicit DisabledAwareItem(QQuickItem *item)
        : QAccessibleQuickItem(item)
    {
        // A reader that keeps what it has read learns of the change.
        QObject::connect(item, &QQuickItem::enabledChanged, item, [item] {
            QAccessible::State changed;
            changed.disabled = true;
            QAccessibleStateChangeEvent event(item, changed);
            QAccessible::updateAccessibility(&event);
        });
    }

    QAccessible::Role role() const override
    {
        if (const AccessibleState *extra = AccessibleState::of(item()); extra && extra->role() != QAccessible::NoRole)
            return QAccessible::Role(extra->role());
        return QAccessibleQuickItem::role();
    }

    // A popup without a name of its own reads by its `title`, as a dialog does.
    QString text(QAccessible::Text kind) const override
    {
        QString value = QAccessibleQuickItem::text(kind);
        if (kind == QAccessible::Name && value.isEmpty() && item()->inherits("QQuickPopupItem")) {
            if (const QObject *popup = item()->parent(); popup && popup->inherits("QQuickPopup"))
                value = popup->property("title").toString();
        }
        return value;
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleQuickItem::state();
        // Qt says focused of every scope around the focused item too (a sheet, a list): a reader
        // then hears of two focused objects. Only the item that takes the keys is, unless a row
        // of it says it stands for it (a list's current row).
        const QQuickWindow *window = item()->window();
        state.focused =
            declaresFocus(item()) || (window && window->activeFocusItem() == item() && !yieldsFocus(item()));
        if (!item()->isEnabled()) {
            state.disabled = true;
            state.focusable = false;
        }
        if (const AccessibleState *extra = AccessibleState::of(item())) {
            if (extra->expandable()) {
                state.expandable = true;
                state.expanded = extra->expanded();
                state.collapsed = !extra->expanded();
            }
            if (extra->modal())
                state.modal = true;
        }
        // A popup's item stands for the popup, whose modality Qt does not pass on.
        const QObject *popup = item()->parent();
        if (item()->inherits("QQuickPopupItem") && popup && popup->inherits("QQuickPopup")
            && popup->property("modal").toBool())
            state.modal = true;
        return state;
    }

    // Qt's buttons of this version do nothing on a reader's press: it is taken as a press of
    // Space, which each button answers as its own (a click, a toggle, a choice).
    void doAction(const QString &actionName) override
    {
        QQuickItem *button = item();
        if (actionName != QAccessibleActionInterface::pressAction() || !button->inherits("QQuickAbstractButton")) {
            QAccessibleQuickItem::doAction(actionName);
            return;
        }
        if (!button->isEnabled() || !button->isVisible())
            return;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        QCoreApplication::sendEvent(button, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        QCoreApplication::sendEvent(button, &release);
    }
};

// Factories are asked from the item's own class up: answering for its own class comes before
// Qt's factory, which answers for QQuickItem.
QAccessibleInterface *create(const QString &className, QObject *object)
{
    auto *item = qobject_cast<QQuickItem *>(object);
    if (!item || className != QLatin1String(object->metaObject()->className())
        || !QQuickItemPrivate::get(item)->isAccessible)
        return nullptr;
    return new DisabledAwareItem(item);
}

} // namespace

void QuickItemAccessible::install()
{
    uninstall();
    QAccessible::installFactory(&create);
}

void QuickItemAccessible::uninstall()
{
    QAccessible::removeFactory(&create);
}
