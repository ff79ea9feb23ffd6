#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

class QDBusMessage;
class QDBusPendingCallWatcher;
class QTimer;

// Closes the desktop's dialog of a request that nobody waits for any more, and hears its answer
// until the request is gone. A portal that starts cold names the request before its dialog is set
// up and refuses a Close until then (the dialog still opens afterwards), so a refused Close is
// repeated, a little less often each time, until one is taken, the request answers or its portal
// leaves the bus. Refusals are repeated for retryLimit; the answer is heard for as long as the
// closer lives. It deletes itself once nothing more can come from the request.
class PortalRequestCloser : public QObject
{
    Q_OBJECT

public:
    // How long refused closes are repeated, in milliseconds.
    static constexpr int retryLimit = 45000;

    // A request whose SaveFile call has no reply yet (the closer takes the call over), which lives
    // at `foreseen` unless the reply names another place.
    PortalRequestCloser(QDBusPendingCallWatcher *call, const QString &foreseen, QObject *parent);
    // A request that the portal at the bus connection `owner` named.
    PortalRequestCloser(const QString &requestPath, const QString &owner, QObject *parent);
    ~PortalRequestCloser() override;

Q_SIGNALS:
    // The request answered before a close took effect: the person's own answer.
    void answered(uint response, const QVariantMap &results);

private Q_SLOTS:
    void takeResponse(uint response, const QVariantMap &results, const QDBusMessage &message);

private:
    void watchPortal();
    void follow(const QString &requestPath);
    void unfollow();
    void takeCallReply(QDBusPendingCallWatcher *call);
    void startClosing(const QString &requestPath);
    // Sends one Close; with `once`, a refusal is not repeated.
    void close(const QString &requestPath, bool once);
    void end();

    // The paths whose Response is heard.
    QStringList m_followed;
    // The request being closed; empty while the SaveFile call has no reply.
    QString m_requestPath;
    QString m_owner;
    QTimer *m_retry = nullptr;
    QElapsedTimer m_closing;
    int m_refusals = 0;
    bool m_ended = false;
};
