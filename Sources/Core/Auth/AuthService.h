#pragma once

#include "API/ServiceBase.h"
#include "Models/User.h"

#include <QJsonObject>
#include <QSet>
#include <QCoro/QCoroTask>
#include <QtQml/qqmlregistration.h>
#include <memory>
#include <optional>

class TokenStore;

// The session of a window: who is signed in, and the account operations against the backend.
// Never throws to the screens: failures become errorMessage and an empty result.
class AuthService : public ServiceBase
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Created by the application window")
    // The signed-in account; a blank one while hasUser is false.
    Q_PROPERTY(User user READ userValue NOTIFY userChanged)
    Q_PROPERTY(bool hasUser READ hasUser NOTIFY userChanged)
    Q_PROPERTY(bool isLoading READ isLoading NOTIFY isLoadingChanged)
    // Empty when absent, as errorMessage.
    Q_PROPERTY(QString registrationNotice READ registrationNoticeText NOTIFY registrationNoticeChanged)
    Q_PROPERTY(bool hasRegistrationNotice READ hasRegistrationNotice NOTIFY registrationNoticeChanged)

public:
    // The application's client and credential store.
    explicit AuthService(QObject *parent = nullptr);
    // Takes over api's unauthorized callback; restores the session when tokens holds one.
    AuthService(APIClient &api, TokenStore &tokens, QObject *parent = nullptr);
    ~AuthService() override;

    const std::optional<User> &user() const { return m_user; }
    User userValue() const { return m_user.value_or(User()); }
    bool hasUser() const { return m_user.has_value(); }
    bool isLoading() const { return m_isLoading; }
    const std::optional<QString> &registrationNotice() const { return m_registrationNotice; }
    QString registrationNoticeText() const { return m_registrationNotice.value_or(QString()); }
    bool hasRegistrationNotice() const { return m_registrationNotice.has_value(); }
    // Screens may clear the error (the sign-in screen does when a field is edited) or show their own.
    using ServiceBase::setErrorMessage;
    Q_INVOKABLE void clearErrorMessage() { clearError(); }
    Q_INVOKABLE void showErrorMessage(const QString &text) { setErrorMessage(text); }

    // Whether a token is kept, from the store's cached value: never a blocking read.
    bool hasStoredToken() const;

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
    // The backend no longer takes the session's token (an unauthorized answer): signs out as
    // logout() does, and keeps who was signed in as expiredUser().
    void expireSession();
    // The account whose session the backend ended while it was signed in; none after a sign-out
    // of the user's own and once someone signs in.
    const std::optional<User> &expiredUser() const { return m_expiredUser; }

    // A query value with everything but the unreserved characters escaped, so that "&", "=",
    // "#" and "+" in a token reach the backend unchanged.
    static QString encodeQueryValue(const QString &value);

Q_SIGNALS:
    void userChanged();
    void isLoadingChanged();
    void registrationNoticeChanged();

private:
    // Lives on in background work after the service is gone: the sign-out call must still be
    // able to tell whether a newer session began before it removes the token.
    struct Session
    {
        qint64 epoch = 0;
        // A token the backend refused, whose session is ending: further refusals of it end nothing more.
        std::optional<QString> refusedToken;
        // Tokens whose sign-out call runs: one call per session, however many ends it has.
        QSet<QString> signingOut;
    };

    static QCoro::Task<> finishLogout(std::shared_ptr<Session> session, qint64 epoch, APIClient *api,
                                      TokenStore *tokens);
    QCoro::Task<std::optional<QString>> sendForMessage(QString path, std::optional<QJsonValue> body);
    // A link whose token is not sent: its error, and no message.
    QCoro::Task<std::optional<QString>> refuseLink();

    void signOut();
    void setUser(std::optional<User> user);
    void setLoading(bool loading);
    void setRegistrationNotice(std::optional<QString> notice);

    TokenStore &m_tokens;
    std::shared_ptr<Session> m_session = std::make_shared<Session>();
    std::optional<User> m_user;
    std::optional<User> m_expiredUser;
    bool m_isLoading = false;
    std::optional<QString> m_registrationNotice;
};
