#pragma once

#include "Auth/AuthService.h"

#include <QObject>
#include <QPointer>
#include <QtQml/qqmlregistration.h>
#include <optional>

class AccountActions;

// What the account screens' models share: the window's sign-in service and the actions on it,
// which die with the screen, so that a late reply changes nothing.
class AccountScreenModel : public QObject
{
    Q_OBJECT
    QML_ANONYMOUS
    Q_PROPERTY(AuthService *auth READ auth WRITE setAuth NOTIFY authChanged)
    // The screen's own error: its checks, or the service's text after the screen's own request
    // failed. It goes with the screen; another screen of the window never shows it. The service's
    // text goes when the service clears it (a link confirmed the address the text asked for).
    Q_PROPERTY(QString errorText READ errorText NOTIFY errorChanged)
    Q_PROPERTY(bool hasError READ hasError NOTIFY errorChanged)

public:
    AuthService *auth() const { return m_auth; }
    void setAuth(AuthService *auth);
    const std::optional<QString> &error() const { return m_error; }
    QString errorText() const { return m_error.value_or(QString()); }
    bool hasError() const { return m_error.has_value(); }

Q_SIGNALS:
    void authChanged();
    // A request of the service started or ended, or the service was replaced.
    void busyChanged();
    void errorChanged();

protected:
    explicit AccountScreenModel(QObject *parent = nullptr);

    AccountActions &actions() const { return *m_actions; }
    // Without a service there is nothing to do either.
    bool busy() const { return !m_auth || m_auth->isLoading(); }
    // Connects what the screen follows of a new service.
    virtual void follow(AuthService &auth);
    void setError(std::optional<QString> error);
    // After the screen's own request: the service's failure text, or none when it succeeded.
    void takeRequestError();

private:
    void onServiceErrorChanged();

    QPointer<AuthService> m_auth;
    AccountActions *m_actions = nullptr;
    std::optional<QString> m_error;
    // Whether m_error is the service's text rather than a check's.
    bool m_errorIsService = false;
};
