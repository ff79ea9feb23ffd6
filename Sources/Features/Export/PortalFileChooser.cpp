#include "PortalFileChooser.h"

#include "PortalFileChooserProtocol.h"

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QGuiApplication>
#include <QQuickWindow>
#include <QRandomGenerator>
#include <QTimer>
#include <limits>
#include <utility>

namespace Protocol = PortalFileChooserProtocol;

namespace {

const char *const responseSlot = SLOT(takeResponse(uint, QVariantMap, QDBusMessage));

// The portal's reply is awaited however late it comes, past our own wait (callTimeout): the
// request it names may have a dialog to close.
constexpr int replyWait = std::numeric_limits<int>::max();

// Closes the portal's dialog of that request; nobody waits for the outcome.
void closeRequest(const QString &requestPath)
{
    QDBusMessage close = QDBusMessage::createMethodCall(Protocol::service, requestPath, Protocol::requestInterface,
                                                        QStringLiteral("Close"));
    // A portal that is not running has no dialog to close.
    close.setAutoStartService(false);
    QDBusConnection::sessionBus().send(close);
}

} // namespace

PortalFileChooser::PortalFileChooser(QObject *parent)
    : QObject(parent)
    , m_callTimer(new QTimer(this))
{
    Protocol::registerTypes();
    m_callTimer->setSingleShot(true);
    connect(m_callTimer, &QTimer::timeout, this, &PortalFileChooser::giveUp);
}

PortalFileChooser::~PortalFileChooser()
{
    if (asking())
        closeDialog();
    release();
    unfollowStray();
}

void PortalFileChooser::setCallTimeout(int milliseconds)
{
    milliseconds = qMax(1, milliseconds);
    if (milliseconds == m_callTimeout)
        return;
    m_callTimeout = milliseconds;
    Q_EMIT callTimeoutChanged();
}

void PortalFileChooser::askSavePDF(QQuickItem *over, const QString &suggestedName, const QUrl &folder)
{
    dismiss();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        // Told once the caller has returned, as every other answer is.
        QTimer::singleShot(0, this, [this] { Q_EMIT unavailable(); });
        return;
    }
    const QString token = QStringLiteral("tessmark_%1_%2")
                              .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'))
                              .arg(++m_requests);
    // Subscribed before the call, so that an answer sent at once is not missed, nor a portal that
    // leaves the bus as it replies.
    follow(Protocol::requestPath(bus.baseService(), token));
    m_portalWatcher = new QDBusServiceWatcher(Protocol::service, bus, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(m_portalWatcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString &, const QString &oldOwner, const QString &) {
                if (oldOwner.isEmpty())
                    return;
                m_goneOwners.append(oldOwner);
                checkPortal();
            });

    // Only a window that is already on the screen has an id worth giving.
    QWindow *window = over ? over->window() : nullptr;
    const WId windowId = window && window->handle() ? window->winId() : 0;
    QDBusMessage call = QDBusMessage::createMethodCall(Protocol::service, Protocol::objectPath,
                                                       Protocol::chooserInterface, QStringLiteral("SaveFile"));
    call << Protocol::parentWindow(QGuiApplication::platformName(), windowId) << Protocol::saveTitle()
         << QVariant(Protocol::saveFileOptions(token, suggestedName,
                                               folder.isLocalFile() ? folder.toLocalFile() : QString()));
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, replyWait), this);
    m_call = watcher;
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &PortalFileChooser::takeCallReply);
    m_callTimer->start(m_callTimeout);
    Q_EMIT askingChanged();
}

void PortalFileChooser::dismiss()
{
    unfollowStray();
    if (!asking())
        return;
    closeDialog();
    release();
    Q_EMIT askingChanged();
}

void PortalFileChooser::closeDialog(bool keepAnswer)
{
    if (m_requestTaken) {
        closeRequest(m_requestPath);
        return;
    }
    if (!m_call)
        return;
    // The portal has not taken the request yet: its dialog is closed once it has, whoever is left
    // to see it.
    QDBusPendingCallWatcher *pending = m_call;
    m_call.clear();
    pending->disconnect(this);
    pending->setParent(nullptr);
    const QPointer<PortalFileChooser> owner = keepAnswer ? this : nullptr;
    const QString foreseen = m_requestPath;
    connect(pending, &QDBusPendingCallWatcher::finished, pending, [owner, foreseen](QDBusPendingCallWatcher *call) {
        call->deleteLater();
        const QDBusPendingReply<QDBusObjectPath> reply = *call;
        if (reply.isError())
            return;
        const QString handle = reply.value().path();
        closeRequest(handle);
        // An older portal answers where it put the request.
        if (owner && owner->m_strayPath == foreseen && !handle.isEmpty() && handle != foreseen)
            owner->followStray(handle);
    });
}

void PortalFileChooser::release()
{
    m_callTimer->stop();
    unfollow();
    m_requestTaken = false;
    m_portalOwner.clear();
    m_goneOwners.clear();
    if (m_call) {
        m_call->disconnect(this);
        m_call->deleteLater();
        m_call.clear();
    }
    if (m_portalWatcher) {
        // Possibly in the middle of telling that the portal left.
        m_portalWatcher->deleteLater();
        m_portalWatcher = nullptr;
    }
}

void PortalFileChooser::takeCallReply(QDBusPendingCallWatcher *call)
{
    call->deleteLater();
    if (call != m_call)
        return;
    m_call.clear();
    m_callTimer->stop();
    const QDBusPendingReply<QDBusObjectPath> reply = *call;
    if (reply.isError()) {
        finish(Protocol::callFailed(reply.error()));
        return;
    }
    m_requestTaken = true;
    m_portalOwner = reply.reply().service();
    // An older portal makes up its own path: its answer comes there.
    const QString handle = reply.value().path();
    if (!handle.isEmpty() && handle != m_requestPath) {
        unfollow();
        follow(handle);
    }
    checkPortal();
}

void PortalFileChooser::checkPortal()
{
    // The portal that took the request left the bus: it will never answer.
    if (m_requestTaken && m_goneOwners.contains(m_portalOwner))
        finish(Protocol::portalLost());
}

void PortalFileChooser::giveUp()
{
    if (!m_call)
        return;
    // A portal that has the request by now closes its dialog at once; one that has not yet, once
    // it names the request.
    closeRequest(m_requestPath);
    closeDialog(true);
    // Its answer is still followed, on the same subscription.
    unfollowStray();
    m_strayPath = std::exchange(m_requestPath, QString());
    finish(PortalAnswer{PortalAnswer::Kind::Unavailable, QUrl(), QString()});
}

void PortalFileChooser::takeResponse(uint response, const QVariantMap &results, const QDBusMessage &message)
{
    if (!m_strayPath.isEmpty() && message.path() == m_strayPath) {
        unfollowStray();
        // 0: the person confirmed a place before our close reached the dialog, which is not
        // dropped. Any other end is the close we asked for, or a cancel.
        if (response == 0)
            tell(Protocol::withoutUnaskedReplacement(Protocol::answer(response, results)));
        return;
    }
    if (m_requestPath.isEmpty() || message.path() != m_requestPath)
        return;
    finish(Protocol::withoutUnaskedReplacement(Protocol::answer(response, results)));
}

void PortalFileChooser::follow(const QString &requestPath)
{
    m_requestPath = requestPath;
    QDBusConnection::sessionBus().connect(Protocol::service, m_requestPath, Protocol::requestInterface,
                                          QStringLiteral("Response"), this, responseSlot);
}

void PortalFileChooser::unfollow()
{
    if (m_requestPath.isEmpty())
        return;
    QDBusConnection::sessionBus().disconnect(Protocol::service, m_requestPath, Protocol::requestInterface,
                                             QStringLiteral("Response"), this, responseSlot);
    m_requestPath.clear();
}

void PortalFileChooser::followStray(const QString &requestPath)
{
    unfollowStray();
    m_strayPath = requestPath;
    QDBusConnection::sessionBus().connect(Protocol::service, m_strayPath, Protocol::requestInterface,
                                          QStringLiteral("Response"), this, responseSlot);
}

void PortalFileChooser::unfollowStray()
{
    if (m_strayPath.isEmpty())
        return;
    QDBusConnection::sessionBus().disconnect(Protocol::service, m_strayPath, Protocol::requestInterface,
                                             QStringLiteral("Response"), this, responseSlot);
    m_strayPath.clear();
}

void PortalFileChooser::finish(const PortalAnswer &answer)
{
    release();
    Q_EMIT askingChanged();
    tell(answer);
}

void PortalFileChooser::tell(const PortalAnswer &answer)
{
    switch (answer.kind) {
    case PortalAnswer::Kind::Chosen:
        Q_EMIT chosen(answer.file);
        break;
    case PortalAnswer::Kind::Cancelled:
        Q_EMIT cancelled();
        break;
    case PortalAnswer::Kind::Unavailable:
        Q_EMIT unavailable();
        break;
    case PortalAnswer::Kind::Failed:
        Q_EMIT failed(answer.message);
        break;
    }
}
