#pragma once

#include "Auth/AuthService.h"

#include <QObject>
#include <QPointer>
#include <QtQml/qqmlregistration.h>
#include <QCoro/QCoroTask>
#include <optional>

// The account operations of the sign-in service for the account screens; each result comes back
// as a signal (a message, or null after a failure). A reply that arrives once these actions are
// gone (their screen closed) changes nothing, and takes back the failure text it left on the
// shared service, so that no other screen of the window shows it.
class AccountActions : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(AuthService *auth READ auth WRITE setAuth NOTIFY authChanged)

public:
    using QObject::QObject;

    AuthService *auth() const { return m_auth; }
    void setAuth(AuthService *auth);

    Q_INVOKABLE void login(const QString &email, const QString &password);
    // An absent name is not sent.
    void registerAccount(const QString &email, const QString &password, const std::optional<QString> &firstName,
                         const std::optional<QString> &lastName);
    Q_INVOKABLE void verifyEmail(const QString &token);
    Q_INVOKABLE void forgotPassword(const QString &email);
    Q_INVOKABLE void resetPassword(const QString &token, const QString &password);

Q_SIGNALS:
    void authChanged();
    // The outcome is the service's state: its user, its notice or its error text.
    void loginFinished();
    void registrationFinished();
    void emailVerified(const QVariant &message);
    void resetLinkSent(const QVariant &message);
    void passwordReset(const QVariant &message);

private:
    using MessageSignal = void (AccountActions::*)(const QVariant &);
    using DoneSignal = void (AccountActions::*)();

    static QCoro::Task<> followMessage(QPointer<AccountActions> self, QPointer<AuthService> auth,
                                       QCoro::Task<std::optional<QString>> pending, MessageSignal done);
    static QCoro::Task<> followSession(QPointer<AccountActions> self, QPointer<AuthService> auth, QCoro::Task<> pending,
                                       DoneSignal done);
    static void forgetFailure(AuthService *auth);

    QPointer<AuthService> m_auth;
};
