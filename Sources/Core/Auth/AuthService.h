#pragma once

#include "Models/User.h"

#include <QJsonObject>
#include <QObject>
#include <QVariant>
#include <QCoro/QCoroTask>
#include <QtQml/qqmlregistration.h>
#include <memory>
#include <optional>

class APIClient;
class TokenStore;

// The session of a window: who is signed in, and the account operations against the backend.
// Never throws to the screens: failures become errorMessage and an empty result.
class AuthService : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Created by the application window")
    // The signed-in account as an object, or null.
    Q_PROPERTY(QVariant user READ userValue NOTIFY userChanged)
    Q_PROPERTY(bool isLoading READ isLoading NOTIFY isLoadingChanged)
    // Texts, or null when absent.
    Q_PROPERTY(QVariant errorMessage READ errorMessageValue WRITE setErrorMessageValue NOTIFY errorMessageChanged)
    Q_PROPERTY(QVariant registrationNotice READ registrationNoticeValue NOTIFY registrationNoticeChanged)

public:
    // The application's client and credential store.
    explicit AuthService(QObject *parent = nullptr);
    // Takes over api's unauthorized callback; restores the session when tokens holds one.
    AuthService(APIClient &api, TokenStore &tokens, QObject *parent = nullptr);
    ~AuthService() override;

    const std::optional<User> &user() const { return m_user; }
    bool isLoading() const { return m_isLoading; }
    const std::optional<QString> &errorMessage() const { return m_errorMessage; }
    const std::optional<QString> &registrationNotice() const { return m_registrationNotice; }
    // Screens clear the error (the sign-in screen does when a field is edited).
    void setErrorMessage(std::optional<QString> message);

    QCoro::Task<> restoreSession();
    QCoro::Task<> login(QString email, QString password);
    QCoro::Task<> registerAccount(QString email, QString password, std::optional<QString> firstName,
                                  std::optional<QString> lastName);
    // The backend's message, or none after a failure.
    QCoro::Task<std::optional<QString>> verifyEmail(QString token);
    QCoro::Task<std::optional<QString>> forgotPassword(QString email);
    QCoro::Task<std::optional<QString>> resetPassword(QString token, QString password);
    // Signs out at once; tells the backend in the background.
    Q_INVOKABLE void logout();

    // A query value with everything but the unreserved characters escaped, so that "&", "=",
    // "#" and "+" in a token reach the backend unchanged.
    static QString encodeQueryValue(const QString &value);

    QVariant userValue() const;
    QVariant errorMessageValue() const;
    void setErrorMessageValue(const QVariant &value);
    QVariant registrationNoticeValue() const;

Q_SIGNALS:
    void userChanged();
    void isLoadingChanged();
    void errorMessageChanged();
    void registrationNoticeChanged();

private:
    // Lives on in background work after the service is gone: the sign-out call must still be
    // able to tell whether a newer session began before it removes the token.
    struct Session {
        qint64 epoch = 0;
    };

    static QCoro::Task<> finishLogout(std::shared_ptr<Session> session, qint64 epoch, APIClient *api, TokenStore *tokens);
    QCoro::Task<std::optional<QString>> sendForMessage(QString path, std::optional<QJsonObject> body);

    void setUser(std::optional<User> user);
    void setLoading(bool loading);
    void setRegistrationNotice(std::optional<QString> notice);

    APIClient &m_api;
    TokenStore &m_tokens;
    std::shared_ptr<Session> m_session = std::make_shared<Session>();
    std::optional<User> m_user;
    bool m_isLoading = false;
    std::optional<QString> m_errorMessage;
    std::optional<QString> m_registrationNotice;
};
