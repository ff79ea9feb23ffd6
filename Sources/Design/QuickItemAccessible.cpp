#include "QuickItemAccessible.h"

#include "AccessibleState.h"

#include <QtQuick/private/qaccessiblequickitem_p.h>
#include <QtQuick/private/qaccessiblequickview_p.h>
#include <QtQuick/private/qquickaccessibleattached_p.h>
#include <QtQuick/private/qquickitem_p.h>
#include <QtQuick/private/qquickitemview_p_p.h>
#include <QtQuick/private/qquicktableview_p_p.h>
#include <QtQuick/private/qquicktext_p.h>
#include <QtQuick/private/qquicktextinput_p.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QQuickWindow>
#include <algorithm>
#include <cmath>

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

// A list keeps the rows it took away (a removed line, one scrolled out) in its pool, still laid
// out where they stood and merely not drawn (culled, as are the rows it keeps ready beyond its
// edges): a row the list no longer holds is gone for a reader too.
bool released(const QQuickItem *row)
{
    if (!QQuickItemPrivate::get(row)->culled || !row->parentItem())
        return false;
    QQuickItem *view = row->parentItem()->parentItem();
    if (auto *list = qobject_cast<QQuickItemView *>(view)) {
        const QQuickItemViewPrivate *d = QQuickItemViewPrivate::get(list);
        const auto holds = [row](const FxViewItem *held) { return held && held->item == row; };
        return !holds(d->currentItem) && std::none_of(d->visibleItems.cbegin(), d->visibleItems.cend(), holds);
    }
    if (auto *table = qobject_cast<QQuickTableView *>(view)) {
        const QQuickTableViewPrivate *d = QQuickTableViewPrivate::get(table);
        return std::none_of(d->loadedItems.cbegin(), d->loadedItems.cend(),
                            [row](const FxTableItem *held) { return held->item == row; });
    }
    return false;
}

// Whether what the views that clip an item leave of it is a strip a pixel or so wide, which shows
// nothing a person can read (a row's blank edge at the top of a view that scrolled it away).
bool sliver(const QRectF &seen, const QRectF &whole)
{
    constexpr qreal least = 2;
    return (seen.height() < least && whole.height() >= least) || (seen.width() < least && whole.width() >= least);
}

// Whether a person cannot see the item, though it is shown: a list keeps it (or a row it is in)
// undrawn, in its pool or ready beyond its edges, or the views that clip it show none of it, or a
// sliver (it is scrolled out of them, under a toolbar that stays above a list or past the bottom).
bool outOfSight(const QQuickItem *item)
{
    const QRectF whole = item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
    QRectF seen = whole;
    for (const QQuickItem *up = item; up; up = up->parentItem()) {
        if (QQuickItemPrivate::get(up)->culled)
            return true;
        // An item of no size (a holder whose children are drawn) is left to what it holds.
        if (up != item && up->clip() && !seen.isEmpty()) {
            seen = seen.intersected(up->mapRectToScene(up->clipRect()));
            if (seen.isEmpty() || sliver(seen, whole))
                return true;
        }
    }
    return false;
}

// The item whose children are the content of a Flickable (a list, a table, a scrolling pane).
bool isFlickableContent(const QQuickItem *item)
{
    const QQuickItem *flickable = item->parentItem();
    return flickable && flickable->inherits("QQuickFlickable")
        && flickable->property("contentItem").value<QQuickItem *>() == item;
}

// The words a text item draws, without markup; none when it draws only a picture: glyphs of the
// icon font, a symbol or an emoji standing for a thing that the control around it names.
QString drawnWords(const QQuickItem *item)
{
    const auto *text = static_cast<const QQuickText *>(item);
    QString words = text->text();
    if (text->textFormat() != QQuickText::PlainText && Qt::mightBeRichText(words))
        words = QQuickAccessibleAttached::stripHtml(words);
    words = words.simplified();
    const QList<uint> points = words.toUcs4();
    const bool picture = std::all_of(points.cbegin(), points.cend(), [](uint c) {
        switch (QChar::category(c)) {
        case QChar::Other_PrivateUse:
        case QChar::Symbol_Other:
        case QChar::Mark_NonSpacing:
        case QChar::Other_Format:
        case QChar::Separator_Space:
            return true;
        default:
            return false;
        }
    });
    return picture ? QString() : words;
}

// A text item that says nothing of its own to a reader (no Accessible property set on it) reads
// as the words it draws: what a person sees, a reader reaches. One set to be ignored stays out.
bool isPlainText(const QQuickItem *item)
{
    return item->inherits("QQuickText") && !QQuickAccessibleAttached::attachedProperties(item);
}

// Whether a reader gets the text: it has words, and they are not read already by the item it
// stands in (a button's label, a row named by its texts).
bool readsOwnWords(const QQuickItem *item, const QString &ownerWords)
{
    const QString words = drawnWords(item);
    return !words.isEmpty() && !ownerWords.contains(words);
}

// The accessible items under the item, as a reader meets them: a list's rows top to bottom (then
// left to right), as drawn, whatever order the list made them in; pooled rows left out, and
// texts read by their words while they show. The item reads `ownerWords` (its name and
// description) itself.
void readableChildren(QQuickItem *item, QList<QQuickItem *> &found, const QString &ownerWords)
{
    QList<QQuickItem *> children = item->childItems();
    if (isFlickableContent(item)) {
        std::stable_sort(children.begin(), children.end(), [](const QQuickItem *a, const QQuickItem *b) {
            const qreal ay = std::round(a->y()), by = std::round(b->y());
            return ay != by ? ay < by : std::round(a->x()) < std::round(b->x());
        });
    }
    for (QQuickItem *child : std::as_const(children)) {
        if (released(child))
            continue;
        if (QQuickItemPrivate::get(child)->isAccessible
            || (isPlainText(child) && child->isVisible() && readsOwnWords(child, ownerWords)))
            found.append(child);
        else
            readableChildren(child, found, ownerWords);
    }
}

// A field that hides what is typed (a password) reads only the bullets it shows, as a desktop
// toolkit's does; revealed, it reads its text like any field.
bool masks(const QQuickItem *item)
{
    const auto *input = qobject_cast<const QQuickTextInput *>(item);
    return input && input->echoMode() != QQuickTextInput::Normal;
}

QString maskedText(const QQuickItem *item)
{
    return static_cast<const QQuickTextInput *>(item)->displayText();
}

void announce(QQuickItem *item, QAccessible::Event kind)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent event(item, kind);
    QAccessible::updateAccessibility(&event);
}

template<typename Attached>
void announcePooling(QQuickItem *row, Attached *view)
{
    QObject::connect(view, &Attached::pooled, row, [row] { announce(row, QAccessible::ObjectHide); });
    QObject::connect(view, &Attached::reused, row, [row] { announce(row, QAccessible::ObjectShow); });
}

// Children as `Reader::readable()` lists them, for an item or a window.
template<typename Base, typename Reader>
class ReadableChildren : public Base
{
public:
    using Base::Base;

    int childCount() const override { return int(readable().size()); }

    QAccessibleInterface *child(int index) const override
    {
        const QList<QQuickItem *> children = readable();
        return index >= 0 && index < children.size() ? QAccessible::queryAccessibleInterface(children.at(index))
                                                     : nullptr;
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child ? int(readable().indexOf(qobject_cast<QQuickItem *>(child->object()))) : -1;
    }

private:
    QList<QQuickItem *> readable() const { return static_cast<const Reader *>(this)->readable(); }
};

class DisabledAwareItem : public ReadableChildren<QAccessibleQuickItem, DisabledAwareItem>
{
    friend class ReadableChildren<QAccessibleQuickItem, DisabledAwareItem>;

public:
    explicit DisabledAwareItem(QQuickItem *item)
        : ReadableChildren(item)
    {
        // A reader that keeps what it has read learns of the change.
        QObject::connect(item, &QQuickItem::enabledChanged, item, [item] {
            QAccessible::State changed;
            changed.disabled = true;
            QAccessibleStateChangeEvent event(item, changed);
            QAccessible::updateAccessibility(&event);
        });
        // A text read by its words tells of new words, and of showing and hiding, as Qt's own
        // accessible items do (asked when it happens: Accessible properties may come later).
        if (auto *text = qobject_cast<QQuickText *>(item)) {
            QObject::connect(text, &QQuickText::textChanged, item, [item] {
                if (isPlainText(item))
                    announce(item, QAccessible::NameChanged);
            });
            QObject::connect(item, &QQuickItem::visibleChanged, item, [item] {
                if (isPlainText(item))
                    announce(item, item->isVisible() ? QAccessible::ObjectShow : QAccessible::ObjectHide);
            });
        }
        // A list's row that goes to the pool hides, and shows again when the list takes it back
        // (the view's attached object, a child of the row, tells both).
        for (QObject *child : item->children()) {
            if (auto *list = qobject_cast<QQuickItemViewAttached *>(child))
                announcePooling(item, list);
            else if (auto *table = qobject_cast<QQuickTableViewAttached *>(child))
                announcePooling(item, table);
        }
    }

    // A popup's states are set on the popup, which stands for its item.
    QAccessible::Role role() const override
    {
        if (isPlainText(item()))
            return QAccessible::StaticText;
        for (const QObject *object : {static_cast<const QObject *>(item()), popup()}) {
            const AccessibleState *extra = object ? AccessibleState::of(object) : nullptr;
            if (extra && extra->role() != QAccessible::NoRole)
                return QAccessible::Role(extra->role());
        }
        return QAccessibleQuickItem::role();
    }

    // A popup without a name of its own reads by its `title`, as a dialog does, and without a
    // description by its `message`, as a question does.
    QString text(QAccessible::Text kind) const override
    {
        if (isPlainText(item()))
            return kind == QAccessible::Name ? drawnWords(item()) : QString();
        QString value = QAccessibleQuickItem::text(kind);
        if (masks(item()) && (kind == QAccessible::Value || value == item()->property("text").toString()))
            return kind == QAccessible::Value ? maskedText(item()) : QString();
        const QObject *owner = popup();
        if (owner && value.isEmpty() && kind == QAccessible::Name)
            value = owner->property("title").toString();
        else if (owner && value.isEmpty() && kind == QAccessible::Description)
            value = owner->property("message").toString();
        return value;
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleQuickItem::state();
        // Qt tells it only of items with Accessible properties; a text read by its words has none.
        const QQuickWindow *shownIn = item()->window();
        if (!item()->isVisible() || item()->opacity() <= 0 || !shownIn || !shownIn->isVisible())
            state.invisible = true;
        if (outOfSight(item())) {
            state.invisible = true;
            state.offscreen = true;
        }
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
        if (const QObject *owner = popup(); owner && owner->property("modal").toBool())
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

    // The text of a field that hides it reads as its bullets, by any offset and boundary.
    QString text(int startOffset, int endOffset) const override
    {
        if (!masks(item()))
            return QAccessibleQuickItem::text(startOffset, endOffset);
        return maskedText(item()).mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override
    {
        return masks(item()) ? int(maskedText(item()).size()) : QAccessibleQuickItem::characterCount();
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int *startOffset,
                         int *endOffset) const override
    {
        if (!masks(item()))
            return QAccessibleQuickItem::textAtOffset(offset, boundary, startOffset, endOffset);
        return maskedAround(offset, boundary, startOffset, endOffset);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int *startOffset,
                             int *endOffset) const override
    {
        if (!masks(item()))
            return QAccessibleQuickItem::textBeforeOffset(offset, boundary, startOffset, endOffset);
        return boundary == QAccessible::CharBoundary ? maskedAround(offset - 1, boundary, startOffset, endOffset)
                                                     : maskedAround(-1, boundary, startOffset, endOffset);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int *startOffset,
                            int *endOffset) const override
    {
        if (!masks(item()))
            return QAccessibleQuickItem::textAfterOffset(offset, boundary, startOffset, endOffset);
        return boundary == QAccessible::CharBoundary ? maskedAround(offset + 1, boundary, startOffset, endOffset)
                                                     : maskedAround(-1, boundary, startOffset, endOffset);
    }

private:
    // The popup whose item this is; null for any other item.
    const QObject *popup() const
    {
        const QObject *owner = item()->inherits("QQuickPopupItem") ? item()->parent() : nullptr;
        return owner && owner->inherits("QQuickPopup") ? owner : nullptr;
    }

    QList<QQuickItem *> readable() const
    {
        QList<QQuickItem *> found;
        readableChildren(item(), found,
                         (text(QAccessible::Name) + QLatin1Char('\n') + text(QAccessible::Description)).simplified());
        return found;
    }

    // The bullets hold no words or lines: a character is one bullet, anything longer all of them.
    QString maskedAround(int offset, QAccessible::TextBoundaryType boundary, int *startOffset, int *endOffset) const
    {
        const QString shown = maskedText(item());
        if (offset < 0 || offset >= shown.size()) {
            *startOffset = *endOffset = -1;
            return QString();
        }
        const bool one = boundary == QAccessible::CharBoundary;
        *startOffset = one ? offset : 0;
        *endOffset = one ? offset + 1 : int(shown.size());
        return shown.mid(*startOffset, *endOffset - *startOffset);
    }
};

// The window reads its content as its items do: the texts among it by their words.
class ContentReadingWindow : public ReadableChildren<QAccessibleQuickWindow, ContentReadingWindow>
{
    friend class ReadableChildren<QAccessibleQuickWindow, ContentReadingWindow>;

public:
    using ReadableChildren::ReadableChildren;

private:
    QList<QQuickItem *> readable() const
    {
        QList<QQuickItem *> found;
        if (QQuickItem *content = static_cast<QQuickWindow *>(object())->contentItem())
            readableChildren(content, found, QString());
        return found;
    }
};

// Factories are asked from the object's own class up: answering for its own class comes before
// Qt's factory, which answers for QQuickItem and QQuickWindow.
QAccessibleInterface *create(const QString &className, QObject *object)
{
    if (className != QLatin1String(object->metaObject()->className()))
        return nullptr;
    if (auto *window = qobject_cast<QQuickWindow *>(object))
        return new ContentReadingWindow(window);
    auto *item = qobject_cast<QQuickItem *>(object);
    if (!item || !(QQuickItemPrivate::get(item)->isAccessible || isPlainText(item)))
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
