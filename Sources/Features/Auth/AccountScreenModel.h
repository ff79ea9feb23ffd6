#pragma once

#include "Auth/AuthService.h"

#include <QObject>
#include <QPointer>
#include <QtQml/qqmlregistration.h>

class AccountActions;

// What the account screens' models share: the window's sign-in service and the actions on it,
// which die with the screen, so that a late reply changes nothing.
class AccountScreenModel : public QObject
{
    Q_OBJECT
    QML_ANONYMOUS
    Q_PROPERTY(AuthService *auth READ auth WRITE setAuth NOTIFY authChanged)

public:
    AuthService *auth() const { return m_auth; }
    void setAuth(AuthService *auth);

Q_SIGNALS:
    void authChanged();
    // A request of the service started or ended, or the service was replaced.
    void busyChanged();

protected:
    explicit AccountScreenModel(QObject *parent = nullptr);

    AccountActions &actions() const { return *m_actions; }
    // Without a service there is nothing to do either.
    bool busy() const { return !m_auth || m_auth->isLoading(); }
    // Connects what the screen follows of a new service.
    virtual void follow(AuthService &auth);

private:
    QPointer<AuthService> m_auth;
    AccountActions *m_actions = nullptr;
};
