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

namespace Protocol = PortalFileChooserProtocol;

namespace {

const char *const responseSlot = SLOT(takeResponse(uint, QVariantMap, QDBusMessage));

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
{
    Protocol::registerTypes();
}

PortalFileChooser::~PortalFileChooser()
{
    if (asking())
        closeDialog();
    release();
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
    // Subscribed before the call, so that an answer sent at once is not missed.
    follow(Protocol::requestPath(bus.baseService(), token));

    // Only a window that is already on the screen has an id worth giving.
    QWindow *window = over ? over->window() : nullptr;
    const WId windowId = window && window->handle() ? window->winId() : 0;
    QDBusMessage call = QDBusMessage::createMethodCall(Protocol::service, Protocol::objectPath,
                                                       Protocol::chooserInterface, QStringLiteral("SaveFile"));
    call << Protocol::parentWindow(QGuiApplication::platformName(), windowId) << Protocol::saveTitle()
         << QVariant(Protocol::saveFileOptions(token, suggestedName,
                                               folder.isLocalFile() ? folder.toLocalFile() : QString()));
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, m_callTimeout), this);
    m_call = watcher;
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &PortalFileChooser::takeCallReply);
    Q_EMIT askingChanged();
}

void PortalFileChooser::dismiss()
{
    if (!asking())
        return;
    closeDialog();
    release();
    Q_EMIT askingChanged();
}

void PortalFileChooser::closeDialog()
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
    connect(pending, &QDBusPendingCallWatcher::finished, pending, [](QDBusPendingCallWatcher *call) {
        const QDBusPendingReply<QDBusObjectPath> reply = *call;
        if (!reply.isError())
            closeRequest(reply.value().path());
        call->deleteLater();
    });
}

void PortalFileChooser::release()
{
    unfollow();
    m_requestTaken = false;
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
    const QDBusPendingReply<QDBusObjectPath> reply = *call;
    if (reply.isError()) {
        // A portal too slow to take the request may still show its dialog after ours opened.
        if (reply.error().type() == QDBusError::NoReply || reply.error().type() == QDBusError::Timeout)
            closeRequest(m_requestPath);
        finish(Protocol::callFailed(reply.error()));
        return;
    }
    m_requestTaken = true;
    // An older portal makes up its own path: its answer comes there.
    const QString handle = reply.value().path();
    if (!handle.isEmpty() && handle != m_requestPath) {
        unfollow();
        follow(handle);
    }
    // A portal that leaves the bus will never answer.
    m_portalWatcher = new QDBusServiceWatcher(Protocol::service, QDBusConnection::sessionBus(),
                                              QDBusServiceWatcher::WatchForUnregistration, this);
    connect(m_portalWatcher, &QDBusServiceWatcher::serviceUnregistered, this,
            [this] { finish(Protocol::portalLost()); });
}

void PortalFileChooser::takeResponse(uint response, const QVariantMap &results, const QDBusMessage &message)
{
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

void PortalFileChooser::finish(const PortalAnswer &answer)
{
    release();
    Q_EMIT askingChanged();
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
