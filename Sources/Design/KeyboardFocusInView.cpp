#include "KeyboardFocusInView.h"

#include <QEvent>
#include <QQuickWindow>

#include <algorithm>

namespace {

// The window's own instance, kept on the window for the landings to find.
constexpr char instanceKey[] = "_tessmarkKeyboardFocusInView";

} // namespace

KeyboardFocusInView::KeyboardFocusInView(QQuickItem *parent)
    : QQuickItem(parent)
{
}

KeyboardFocusInView::~KeyboardFocusInView()
{
    watch(nullptr);
}

void KeyboardFocusInView::itemChange(ItemChange change, const ItemChangeData &value)
{
    if (change == ItemSceneChange)
        watch(value.window);
    QQuickItem::itemChange(change, value);
}

void KeyboardFocusInView::watch(QQuickWindow *window)
{
    if (m_window == window)
        return;
    if (m_window) {
        m_window->removeEventFilter(this);
        disconnect(m_connection);
        if (m_window->property(instanceKey).value<QObject *>() == this)
            m_window->setProperty(instanceKey, QVariant());
    }
    stopFollowing();
    m_window = window;
    m_byKeyboard = false;
    if (!window)
        return;
    window->setProperty(instanceKey, QVariant::fromValue<QObject *>(this));
    window->installEventFilter(this);
    m_connection = connect(window, &QQuickWindow::activeFocusItemChanged, this, &KeyboardFocusInView::focusChanged);
}

// Which device moved the focus last: the focus changes while the window handles the event.
bool KeyboardFocusInView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window) {
        switch (event->type()) {
        case QEvent::KeyPress:
            m_byKeyboard = true;
            break;
        case QEvent::MouseButtonPress:
        case QEvent::TouchBegin:
        case QEvent::Wheel:
            // The person scrolls or points: the view is theirs again.
            m_byKeyboard = false;
            stopFollowing();
            break;
        default:
            break;
        }
    }
    return false;
}

void KeyboardFocusInView::focusChanged()
{
    stopFollowing();
    if (!m_byKeyboard || !m_window)
        return;
    m_revealed = m_window->activeFocusItem();
    reveal(m_revealed);
    follow(m_revealed);
}

void KeyboardFocusInView::keepInView(QQuickItem *item)
{
    QQuickWindow *window = item ? item->window() : nullptr;
    auto *watch =
        window ? qobject_cast<KeyboardFocusInView *>(window->property(instanceKey).value<QObject *>()) : nullptr;
    reveal(item);
    if (!watch || window->activeFocusItem() != item)
        return;
    watch->stopFollowing();
    watch->m_revealed = item;
    watch->follow(item);
}

void KeyboardFocusInView::follow(QQuickItem *item)
{
    for (QQuickItem *link = item; link; link = link->parentItem()) {
        for (auto signal :
             {&QQuickItem::xChanged, &QQuickItem::yChanged, &QQuickItem::widthChanged, &QQuickItem::heightChanged})
            m_followLinks.append(connect(link, signal, this, &KeyboardFocusInView::followedMoved));
        m_followLinks.append(connect(link, &QQuickItem::parentChanged, this, [this] {
            m_chainChanged = true;
            polish();
        }));
        if (link->inherits("QQuickFlickable")) {
            for (const char *signal : {SIGNAL(contentWidthChanged()), SIGNAL(contentHeightChanged())})
                m_followLinks.append(connect(link, signal, this, SLOT(followedMoved())));
        }
    }
}

void KeyboardFocusInView::followedMoved()
{
    polish();
}

void KeyboardFocusInView::stopFollowing()
{
    for (const QMetaObject::Connection &link : std::as_const(m_followLinks))
        disconnect(link);
    m_followLinks.clear();
    m_revealed = nullptr;
    m_chainChanged = false;
}

// At the window's polish, once the layouts that moved the item have been laid out (a move made
// by a later one asks again).
void KeyboardFocusInView::updatePolish()
{
    // A press or the wheel has stopped the following already.
    if (!m_window || !m_revealed || m_window->activeFocusItem() != m_revealed) {
        stopFollowing();
        return;
    }
    QQuickItem *item = m_revealed;
    // An item moved to other parents is followed along its new chain.
    if (m_chainChanged) {
        m_chainChanged = false;
        for (const QMetaObject::Connection &link : std::as_const(m_followLinks))
            disconnect(link);
        m_followLinks.clear();
        follow(item);
    }
    reveal(item);
}

namespace {

// How far a span must move to lie within the view: to its start when it does not fit.
qreal shift(qreal start, qreal end, qreal viewStart, qreal viewEnd)
{
    if (start < viewStart || end - start > viewEnd - viewStart)
        return start - viewStart;
    if (end > viewEnd)
        return end - viewEnd;
    return 0;
}

// Moves the Flickable's content by up to `delta` along one axis, within its extent; returns how far it moved.
qreal scroll(QQuickItem *flickable, const char *position, qreal delta, qreal origin, qreal extent, qreal marginBefore,
             qreal marginAfter, qreal size)
{
    if (qFuzzyIsNull(delta))
        return 0;
    const qreal current = flickable->property(position).toReal();
    const qreal lowest = origin - marginBefore;
    const qreal highest = std::max(lowest, origin + extent + marginAfter - size);
    const qreal target = std::clamp(current + delta, lowest, highest);
    flickable->setProperty(position, target);
    return target - current;
}

} // namespace

void KeyboardFocusInView::reveal(QQuickItem *item)
{
    if (!item)
        return;
    // The focus ring stands 3 points out of its control, and shows too.
    constexpr qreal ringReach = 4;
    QRectF rect = item->mapRectToScene(item->boundingRect()).adjusted(-ringReach, -ringReach, ringReach, ringReach);
    // A text taller than its view shows where its cursor stands.
    const QVariant cursor = item->property("cursorRectangle");
    // A field's input lies inside a frame that draws its focus: the views around the frame show it whole.
    const auto *frame = item->property("focusFrame").value<QQuickItem *>();
    for (QQuickItem *parent = item->parentItem(); parent; parent = parent->parentItem()) {
        if (!parent->inherits("QQuickFlickable"))
            continue;
        const QRectF view = parent->mapRectToScene(parent->boundingRect());
        if (view.isEmpty())
            continue;
        QRectF wanted = rect;
        const QRectF framed = frame && parent->isAncestorOf(frame)
            ? frame->mapRectToScene(frame->boundingRect()).adjusted(-ringReach, -ringReach, ringReach, ringReach)
            : QRectF();
        if (!framed.isEmpty() && framed.height() <= view.height() && framed.width() <= view.width())
            wanted = framed;
        else if (cursor.isValid()
                 && (rect.height() - 2 * ringReach > view.height() || rect.width() - 2 * ringReach > view.width()))
            wanted = item->mapRectToScene(cursor.toRectF());
        const qreal dy =
            scroll(parent, "contentY", shift(wanted.top(), wanted.bottom(), view.top(), view.bottom()),
                   parent->property("originY").toReal(), parent->property("contentHeight").toReal(),
                   parent->property("topMargin").toReal(), parent->property("bottomMargin").toReal(), parent->height());
        const qreal dx =
            scroll(parent, "contentX", shift(wanted.left(), wanted.right(), view.left(), view.right()),
                   parent->property("originX").toReal(), parent->property("contentWidth").toReal(),
                   parent->property("leftMargin").toReal(), parent->property("rightMargin").toReal(), parent->width());
        // What an outer Flickable has to show is the part this one shows.
        rect = rect.translated(-dx, -dy).intersected(view);
        if (rect.isEmpty())
            return;
    }
}
