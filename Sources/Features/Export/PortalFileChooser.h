#pragma once

#include "LateSaveAnswers.h"
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

class PortalRequestCloser;
class QDBusPendingCallWatcher;
class QDBusServiceWatcher;
class QTimer;

// Asks the desktop's own file dialog (the XDG desktop portal's file chooser) where to save a PDF,
// without ever waiting on the GUI thread. Each request ends in one signal: chosen, cancelled,
// unavailable (no portal answers: show our own dialog) or failed.
// A request nobody waits for any more (dismissed, the chooser gone, or given up on for want of a
// reply) is closed until the portal takes the close, as a portal starting cold names the request
// before its dialog exists. A place chosen in a dialog given up on, before the close took effect,
// still comes as chosen (or failed) while the save runs; one chosen after the save ended is told
// through lateAnswers as not used.
class PortalFileChooser : public QObject
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(bool asking READ asking NOTIFY askingChanged)
    // How long the portal may take to take the request (not the user's time in the dialog), in
    // milliseconds; a portal that does not answer in time is taken for none.
    Q_PROPERTY(int callTimeout READ callTimeout WRITE setCallTimeout NOTIFY callTimeoutChanged)
    // Tells of a place chosen after its save ended, and keeps closing dialogs once this chooser is
    // gone; without it, they end with the chooser and such a place is told to nobody.
    Q_PROPERTY(LateSaveAnswers *lateAnswers READ lateAnswers WRITE setLateAnswers NOTIFY lateAnswersChanged)

public:
    explicit PortalFileChooser(QObject *parent = nullptr);
    ~PortalFileChooser() override;

    bool asking() const { return !m_requestPath.isEmpty(); }
    int callTimeout() const { return m_callTimeout; }
    void setCallTimeout(int milliseconds);
    LateSaveAnswers *lateAnswers() const { return m_lateAnswers; }
    void setLateAnswers(LateSaveAnswers *answers);

    // Opens the dialog over the window of `over`, with the name proposed in the folder. A request
    // still open is dismissed first.
    Q_INVOKABLE void askSavePDF(QQuickItem *over, const QString &suggestedName, const QUrl &folder);
    // The save has ended, with its copy at `saved` or none: the dialog closes, if one is open, and
    // this chooser tells nothing more of it, nor of a request given up on. A place chosen there
    // before the close took effect is told as not used.
    Q_INVOKABLE void dismiss(const QUrl &saved = QUrl());

Q_SIGNALS:
    void chosen(const QUrl &file);
    void cancelled();
    void unavailable();
    void failed(const QString &message);
    void askingChanged();
    void callTimeoutChanged();
    void lateAnswersChanged();

private Q_SLOTS:
    void takeResponse(uint response, const QVariantMap &results, const QDBusMessage &message);

private:
    void takeCallReply(QDBusPendingCallWatcher *call);
    void giveUp();
    void checkPortal();
    void follow(const QString &requestPath);
    void unfollow();
    void finish(const PortalAnswer &answer);
    void tell(const PortalAnswer &answer);
    // Hands the open request to a closer and stops following it, silently.
    PortalRequestCloser *letGo();
    // A place the closer hears of is told as not used, the save having ended with `saved`.
    void passOn(PortalRequestCloser *closer, const QUrl &saved);
    void passOnStray(const QUrl &saved);
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
    // The request given up on for want of a reply, whose answer is still the save's.
    QPointer<PortalRequestCloser> m_stray;
    QPointer<LateSaveAnswers> m_lateAnswers;
    QDBusServiceWatcher *m_portalWatcher = nullptr;
    quint32 m_requests = 0;
    int m_callTimeout = 5000;
};
