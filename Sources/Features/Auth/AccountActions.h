#pragma once

#include "Auth/AuthService.h"

#include <QObject>
#include <QPointer>
#include <QtQml/qqmlregistration.h>

// The account operations of the sign-in service for the account screens' buttons; each result
// comes back as a signal (the message, or null after a failure).
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
    Q_INVOKABLE void verifyEmail(const QString &token);
    Q_INVOKABLE void resetPassword(const QString &token, const QString &password);

Q_SIGNALS:
    void authChanged();
    void emailVerified(const QVariant &message);
    void passwordReset(const QVariant &message);

private:
    QPointer<AuthService> m_auth;
};
