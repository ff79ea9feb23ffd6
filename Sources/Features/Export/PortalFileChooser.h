#pragma once

#include "PortalAnswer.h"

#include <QDBusMessage>
#include <QObject>
#include <QPointer>
#include <QQuickItem>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>

class QDBusPendingCallWatcher;
class QDBusServiceWatcher;
class QTimer;

// Asks the desktop's own file dialog (the XDG desktop portal's file chooser) where to save a PDF,
// without ever waiting on the GUI thread. Each request ends in one signal: chosen, cancelled,
// unavailable (no portal answers: show our own dialog) or failed. A chooser that goes away while
// the dialog is open closes it and tells nobody.
// A portal that takes the request only after we gave up on it has its dialog closed as soon as
// it names the request; a place chosen there before the close took effect still comes as
// chosen (or failed), until the save is dismissed.
class PortalFileChooser : public QObject
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(bool asking READ asking NOTIFY askingChanged)
    // How long the portal may take to take the request (not the user's time in the dialog), in
    // milliseconds; a portal that does not answer in time is taken for none.
    Q_PROPERTY(int callTimeout READ callTimeout WRITE setCallTimeout NOTIFY callTimeoutChanged)

public:
    explicit PortalFileChooser(QObject *parent = nullptr);
    ~PortalFileChooser() override;

    bool asking() const { return !m_requestPath.isEmpty(); }
    int callTimeout() const { return m_callTimeout; }
    void setCallTimeout(int milliseconds);

    // Opens the dialog over the window of `over`, with the name proposed in the folder. A request
    // still open is dropped first, silently.
    Q_INVOKABLE void askSavePDF(QQuickItem *over, const QString &suggestedName, const QUrl &folder);
    // Closes the dialog, if one is open; no signal follows, not even from a request given up on.
    Q_INVOKABLE void dismiss();

Q_SIGNALS:
    void chosen(const QUrl &file);
    void cancelled();
    void unavailable();
    void failed(const QString &message);
    void askingChanged();
    void callTimeoutChanged();

private Q_SLOTS:
    void takeResponse(uint response, const QVariantMap &results, const QDBusMessage &message);

private:
    void takeCallReply(QDBusPendingCallWatcher *call);
    void giveUp();
    void checkPortal();
    void follow(const QString &requestPath);
    void unfollow();
    void followStray(const QString &requestPath);
    void unfollowStray();
    void finish(const PortalAnswer &answer);
    void tell(const PortalAnswer &answer);
    // Closes the portal's dialog of the open request, now or once the portal has taken it; with
    // keepAnswer, its answer is still followed where the portal says the request lives.
    void closeDialog(bool keepAnswer = false);
    // Stops following the request, silently.
    void release();

    // The request whose Response is awaited; empty when none.
    QString m_requestPath;
    // The portal took the request: its dialog may be open.
    bool m_requestTaken = false;
    // The connection of the portal that took the request, and those that have left the bus since
    // it was asked.
    QString m_portalOwner;
    QStringList m_goneOwners;
    QPointer<QDBusPendingCallWatcher> m_call;
    QTimer *m_callTimer = nullptr;
    // The request given up on for want of a reply, whose answer is still followed; empty when none.
    QString m_strayPath;
    QDBusServiceWatcher *m_portalWatcher = nullptr;
    quint32 m_requests = 0;
    int m_callTimeout = 5000;
};
