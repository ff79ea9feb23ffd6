#include "PortalFileChooser.h"

#include "PortalFileChooserProtocol.h"
#include "PortalRequestCloser.h"

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
    // As dismissed, telling nobody that the chooser stopped asking.
    passOnStray(QUrl());
    if (asking())
        passOn(letGo(), QUrl());
}

void PortalFileChooser::setCallTimeout(int milliseconds)
{
    milliseconds = qMax(1, milliseconds);
    if (milliseconds == m_callTimeout)
        return;
    m_callTimeout = milliseconds;
    Q_EMIT callTimeoutChanged();
}

void PortalFileChooser::setLateAnswers(LateSaveAnswers *answers)
{
    if (answers == m_lateAnswers)
        return;
    m_lateAnswers = answers;
    Q_EMIT lateAnswersChanged();
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

void PortalFileChooser::dismiss(const QUrl &saved)
{
    passOnStray(saved);
    if (!asking())
        return;
    passOn(letGo(), saved);
    Q_EMIT askingChanged();
}

PortalRequestCloser *PortalFileChooser::letGo()
{
    // The closers outlive this chooser when there is somewhere to tell what they hear.
    QObject *keeper = m_lateAnswers ? static_cast<QObject *>(m_lateAnswers.data()) : this;
    PortalRequestCloser *closer = nullptr;
    if (m_requestTaken) {
        closer = new PortalRequestCloser(m_requestPath, m_portalOwner, keeper);
    } else {
        QDBusPendingCallWatcher *call = m_call;
        m_call.clear();
        call->disconnect(this);
        closer = new PortalRequestCloser(call, m_requestPath, keeper);
    }
    // Followed by the closer first, so that no answer falls between the two.
    release();
    return closer;
}

void PortalFileChooser::passOn(PortalRequestCloser *closer, const QUrl &saved)
{
    if (!m_lateAnswers)
        return;
    const QString savedPath = saved.isLocalFile() ? saved.toLocalFile() : QString();
    LateSaveAnswers *answers = m_lateAnswers;
    // 0: a place chosen; any other end is the close, or a cancel, and tells nothing.
    connect(closer, &PortalRequestCloser::answered, answers,
            [answers, savedPath](uint response, const QVariantMap &results) {
                if (response == 0)
                    answers->tellNotUsed(Protocol::answer(response, results), savedPath);
            });
}

void PortalFileChooser::passOnStray(const QUrl &saved)
{
    if (!m_stray)
        return;
    m_stray->disconnect(this);
    passOn(std::exchange(m_stray, nullptr), saved);
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
    // A request given up on earlier is no longer the save's.
    passOnStray(QUrl());
    m_stray = letGo();
    connect(m_stray, &PortalRequestCloser::answered, this, [this](uint response, const QVariantMap &results) {
        m_stray.clear();
        // 0: the person confirmed a place before our close reached the dialog, which is not
        // dropped. Any other end is the close we asked for, or a cancel.
        if (response == 0)
            tell(Protocol::withoutUnaskedReplacement(Protocol::answer(response, results)));
    });
    Q_EMIT askingChanged();
    tell(PortalAnswer{PortalAnswer::Kind::Unavailable, QUrl(), QString()});
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
