#include "PortalRequestCloser.h"

#include "PortalFileChooserProtocol.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QTimer>

namespace Protocol = PortalFileChooserProtocol;

namespace {

const char *const closerResponseSlot = SLOT(takeResponse(uint, QVariantMap, QDBusMessage));

// The portal asks its backend in turn before it answers a Close.
constexpr int closeWait = 10000;
// A backend starting cold sets its dialog up within moments: the first repeat comes soon, later
// ones less often.
constexpr int firstRetry = 100;
constexpr int retryStep = 50;
constexpr int lastRetry = 250;

// No portal on the bus: the request went with it.
bool meansGone(const QDBusError &error)
{
    return error.type() == QDBusError::ServiceUnknown || error.type() == QDBusError::Disconnected
        || error.name() == QStringLiteral("org.freedesktop.DBus.Error.NameHasNoOwner");
}

} // namespace

PortalRequestCloser::PortalRequestCloser(QDBusPendingCallWatcher *call, const QString &foreseen, QObject *parent)
    : QObject(parent)
    , m_retry(new QTimer(this))
{
    watchPortal();
    follow(foreseen);
    call->setParent(this);
    connect(call, &QDBusPendingCallWatcher::finished, this, &PortalRequestCloser::takeCallReply);
    // A portal that has the request already, but has not replied, closes its dialog now; one that
    // does not have it yet refuses, and is asked again once it names the request.
    close(foreseen, true);
}

PortalRequestCloser::PortalRequestCloser(const QString &requestPath, const QString &owner, QObject *parent)
    : QObject(parent)
    , m_owner(owner)
    , m_retry(new QTimer(this))
{
    watchPortal();
    follow(requestPath);
    startClosing(requestPath);
}

PortalRequestCloser::~PortalRequestCloser()
{
    unfollow();
}

void PortalRequestCloser::watchPortal()
{
    m_retry->setSingleShot(true);
    connect(m_retry, &QTimer::timeout, this, [this] { close(m_requestPath, false); });
    auto *watcher = new QDBusServiceWatcher(Protocol::service, QDBusConnection::sessionBus(),
                                            QDBusServiceWatcher::WatchForOwnerChange, this);
    // The portal that named the request left the bus: its dialog, if still shown, answers nobody.
    // Before it names one, the failure of the call says so.
    connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString &, const QString &oldOwner, const QString &) {
                if (!m_owner.isEmpty() && oldOwner == m_owner)
                    end();
            });
}

void PortalRequestCloser::follow(const QString &requestPath)
{
    if (m_followed.contains(requestPath))
        return;
    m_followed.append(requestPath);
    QDBusConnection::sessionBus().connect(Protocol::service, requestPath, Protocol::requestInterface,
                                          QStringLiteral("Response"), this, closerResponseSlot);
}

void PortalRequestCloser::takeCallReply(QDBusPendingCallWatcher *call)
{
    call->deleteLater();
    if (m_ended)
        return;
    const QDBusPendingReply<QDBusObjectPath> reply = *call;
    // The portal made no request.
    if (reply.isError()) {
        end();
        return;
    }
    m_owner = reply.reply().service();
    // An older portal makes up its own path: its answer comes there.
    const QString handle = reply.value().path();
    const QString requestPath = handle.isEmpty() ? m_followed.constFirst() : handle;
    follow(requestPath);
    startClosing(requestPath);
}

void PortalRequestCloser::startClosing(const QString &requestPath)
{
    m_requestPath = requestPath;
    m_closing.start();
    close(requestPath, false);
}

void PortalRequestCloser::close(const QString &requestPath, bool once)
{
    QDBusMessage message = QDBusMessage::createMethodCall(Protocol::service, requestPath, Protocol::requestInterface,
                                                          QStringLiteral("Close"));
    // A portal that is not running has no dialog to close.
    message.setAutoStartService(false);
    auto *reply = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(message, closeWait), this);
    connect(reply, &QDBusPendingCallWatcher::finished, this, [this, once](QDBusPendingCallWatcher *reply) {
        reply->deleteLater();
        if (m_ended)
            return;
        if (!reply->isError() || (!once && meansGone(reply->error()))) {
            end();
            return;
        }
        // Refused: the portal has not set the request up yet (or says so for another cause).
        if (once || m_closing.elapsed() >= retryLimit)
            return;
        m_retry->start(qMin(lastRetry, firstRetry + retryStep * m_refusals++));
    });
}

void PortalRequestCloser::takeResponse(uint response, const QVariantMap &results, const QDBusMessage &message)
{
    if (m_ended || !m_followed.contains(message.path()))
        return;
    Q_EMIT answered(response, results);
    end();
}

void PortalRequestCloser::unfollow()
{
    for (const QString &requestPath : std::as_const(m_followed))
        QDBusConnection::sessionBus().disconnect(Protocol::service, requestPath, Protocol::requestInterface,
                                                 QStringLiteral("Response"), this, closerResponseSlot);
    m_followed.clear();
}

void PortalRequestCloser::end()
{
    m_ended = true;
    m_retry->stop();
    unfollow();
    deleteLater();
}
