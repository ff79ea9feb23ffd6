#include "FocusWatch.h"

#include "FocusCheck.h"
#include "FocusKeeper.h"
#include "FocusLanding.h"

#include <QCoreApplication>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>
#include <QtQuick/private/qquickwindow_p.h>
#include <QtQuickTest/quicktest.h>

namespace {

// Whether the item lies inside the popup (whose own item hangs in the window's overlay).
bool inside(const QQuickItem *item, const QObject *popup)
{
    for (; item; item = item->parentItem()) {
        if (item->parent() == popup && item->inherits("QQuickPopupItem"))
            return true;
    }
    return false;
}

// Whether a person sees the item: shown, with some size, and not left undrawn by its list. One
// that fades in counts as shown from the start.
bool shown(const QQuickItem *item)
{
    if (!item->isVisible() || item->width() <= 0 || item->height() <= 0)
        return false;
    for (; item; item = item->parentItem()) {
        if (ItemCulling::culled(item))
            return false;
    }
    return true;
}

// Whether the press now ending was on a scroll bar, which moves the view as the wheel does.
bool onScrollBar(const QQuickWindow *window)
{
    for (const QQuickItem *item = window->mouseGrabberItem(); item; item = item->parentItem()) {
        if (item->inherits("QQuickScrollBar"))
            return true;
    }
    return false;
}

} // namespace

FocusWatch::FocusWatch()
{
    QCoreApplication::instance()->installEventFilter(this);
}

FocusWatch::~FocusWatch()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

QString FocusWatch::problem(QQuickWindow *window, bool byKey, bool byWheel)
{
    // A window without the keeper holds a part of the application alone, not the application; one
    // left for another has given its keys up.
    if (!window || !window->isVisible() || !window->contentItem()->hasFocus() || !FocusKeeper::of(window))
        return {};
    QQuickItem *focused = window->activeFocusItem();
    // The keeper holds them back for a control disabled while its work runs: one that stays
    // disabled leaves them nowhere.
    const QQuickItem *waited = FocusKeeper::of(window)->waitingOn();
    const QString waiting =
        waited ? QStringLiteral(": they wait on the disabled %1").arg(AccessibilityAudit::describe(waited)) : QString();
    if (!focused || focused == window->contentItem())
        return QStringLiteral("nothing has the focus") + waiting;
    const QString what = AccessibilityAudit::describe(focused);
    const auto tabStop = [](const QQuickItem *item) {
        for (; item && !item->activeFocusOnTab(); item = item->parentItem()) {}
        return item != nullptr;
    };
    // A row holds the keys of the list that Tab stops at.
    if (!tabStop(focused))
        return QStringLiteral("the focus is on %1, no control").arg(what) + waiting;
    // The wheel may take the focused control out of sight: the person looks elsewhere.
    if (!byWheel && !shown(focused))
        return QStringLiteral("the focused %1 is hidden").arg(what);
    if (const QObject *popup = FocusLanding::topPopup(window); popup && !inside(focused, popup))
        return QStringLiteral("the focused %1 lies outside the open popup %2").arg(what, popup->objectName());
    if (!byKey)
        return {};
    QQuickItem *ring = nullptr;
    FocusCheck::anyUnder(FocusCheck::controlOf(focused), focused, [&ring](QQuickItem *item) {
        if (FocusCheck::isRing(item) && shown(item))
            ring = item;
        return ring != nullptr;
    });
    return ring ? QString() : QStringLiteral("no focus ring on %1").arg(what);
}

QByteArray FocusWatch::runningTest()
{
    return QByteArray(QTest::currentTestFunction()) + '/' + QTest::currentDataTag();
}

bool FocusWatch::settle()
{
    // Asked for by the test: what the input set going runs first, up to the keeper's landing.
    if (m_window) {
        static_cast<void>(QTest::qWaitFor([this] { return m_loopRan; }));
        if (const FocusKeeper *keeper = FocusKeeper::of(m_window))
            static_cast<void>(QQuickTest::qWaitForPolish(keeper, 1000));
        static_cast<void>(QTest::qWaitFor([this] { return !m_window || !FocusLanding::waits(m_window); }, 2000));
    }
    return check();
}

bool FocusWatch::check()
{
    QQuickWindow *window = m_window;
    m_window = nullptr;
    // An input of a test function that has ended is not this one's to answer for.
    const QByteArray test = runningTest();
    if (test != m_inputTest)
        return true;
    const QString found = problem(window, m_byKey, m_byWheel);
    if (found.isEmpty() || m_failedIn == test)
        return found.isEmpty();
    // One failure for each test function is enough to go on.
    m_failedIn = test;
    const char *input = m_byKey ? "key" : m_byWheel ? "wheel" : "click";
    QTest::qFail(qPrintable(QStringLiteral("after the last %1: %2").arg(input, found)), __FILE__, __LINE__);
    return false;
}

bool FocusWatch::eventFilter(QObject *watched, QEvent *event)
{
    // Asked of the type, not cast: a window being destroyed still sends events (its hiding) once it
    // is a plain QWindow again.
    if (!watched->inherits("QQuickWindow"))
        return false;
    auto *window = static_cast<QQuickWindow *>(watched);
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
        // A press before the loop ran, or while a landing waits (a list that loads), is part of
        // the last input still.
        if (m_window && m_loopRan && !FocusLanding::waits(m_window)) {
            // No one presses a key before the next frame: by then what waits to be laid out has its
            // size (a sheet's bar just opened), and the keeper has placed the keys. A pointer aims at
            // what the test found where it was, so its press lays nothing out first.
            if (event->type() == QEvent::KeyPress && QQuickTest::qIsPolishScheduled(m_window))
                QQuickWindowPrivate::get(m_window)->polishItems();
            if (FocusKeeper *keeper = FocusKeeper::of(m_window); keeper && QQuickTest::qIsPolishScheduled(keeper))
                keeper->settle();
            check();
        }
        if (event->type() != QEvent::Wheel)
            break;
        Q_FALLTHROUGH();
    case QEvent::KeyRelease:
    case QEvent::MouseButtonRelease:
        m_window = window;
        m_inputTest = runningTest();
        m_byKey = event->type() == QEvent::KeyRelease;
        m_byWheel =
            event->type() == QEvent::Wheel || (event->type() == QEvent::MouseButtonRelease && onScrollBar(window));
        m_loopRan = false;
        QMetaObject::invokeMethod(
            this, [this, input = ++m_input] { m_loopRan = m_loopRan || input == m_input; }, Qt::QueuedConnection);
        break;
    case QEvent::Hide:
        if (window == m_window && m_loopRan)
            check();
        break;
    default:
        break;
    }
    return false;
}
