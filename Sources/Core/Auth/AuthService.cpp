#include "AuthService.h"

#include "API/APIClient.h"
#include "API/Endpoints.h"
#include "Auth/KeychainTokenStore.h"
#include "Auth/TokenStore.h"
#include "Models/AuthResponse.h"
#include "Models/ForgotPasswordRequest.h"
#include "Models/LoginRequest.h"
#include "Models/MessageResponse.h"
#include "Models/RegisterRequest.h"
#include "Models/ResetPasswordRequest.h"
#include "Utils/AccessToken.h"

#include <QPointer>
#include <QTimer>
#include <QUrl>

AuthService::AuthService(QObject *parent)
    : AuthService(APIClient::shared(), KeychainTokenStore::shared(), parent)
{
}

AuthService::AuthService(APIClient &api, TokenStore &tokens, QObject *parent)
    : ServiceBase(&api, parent)
    , m_tokens(tokens)
{
    QPointer<AuthService> self(this);
    api.setOnUnauthorized([self](const QString &path, const QString &sentToken) {
        if (!self)
            return;
        // The sign-out call's own 401 ends nothing more, and a 401 about a token that is no
        // longer the stored one concerns an older session. A session already ending (refused
        // before, or signed out with its call still running) is not ended again.
        if (path == Endpoints::logout() || self->m_tokens.load() != sentToken)
            return;
        Session &session = *self->m_session;
        if (session.refusedToken == sentToken || session.signingOut.contains(sentToken))
            return;
        session.refusedToken = sentToken;
        QTimer::singleShot(0, self, [self] {
            if (self)
                self->expireSession();
        });
    });
    // A stored token that could not be sent is forgotten: no session is restored from it.
    if (const std::optional<QString> stored = m_tokens.load(); stored && !AccessToken::isWellFormed(*stored))
        m_tokens.remove();
    // Runs up to the profile request at once, so a window never shows a stored session as signed out.
    if (m_tokens.load())
        restoreSession();
}

AuthService::~AuthService() = default;

bool AuthService::hasStoredToken() const
{
    return m_tokens.load().has_value();
}

QCoro::Task<> AuthService::restoreSession()
{
    if (!m_tokens.load())
        co_return;
    QPointer<AuthService> self(this);
    const std::shared_ptr<Session> session = m_session;
    TokenStore *tokens = &m_tokens;
    // A sign-in or sign-out while the profile loads wins over whatever the profile says.
    const qint64 epoch = session->epoch;
    setLoading(true);
    std::optional<User> loaded;
    bool failed = false;
    try {
        QCoro::Task<std::optional<User>> pending =
            api().request<std::optional<User>>(QStringLiteral("GET"), Endpoints::profile(), std::nullopt, true);
        loaded = co_await std::move(pending);
    } catch (const std::exception &) {
        failed = true;
    }
    const bool current = session->epoch == epoch;
    if (failed && current)
        tokens->remove();
    if (!self)
        co_return;
    if (current)
        setUser(failed ? std::nullopt : loaded);
    setLoading(false);
}

QCoro::Task<> AuthService::login(QString email, QString password)
{
    const QPointer<AuthService> self(this);
    ++m_session->epoch;
    setRegistrationNotice(std::nullopt);
    setLoading(true);
    clearError();
    const std::optional<QJsonValue> body = encode(LoginRequest{email, password});
    std::optional<AuthResponse> response;
    if (body) {
        auto pending = send<AuthResponse>(QStringLiteral("POST"), Endpoints::login(), body, false);
        response = co_await std::move(pending);
    }
    if (!self)
        co_return;
    if (response && !AccessToken::isWellFormed(response->accessToken)) {
        // Never stored, never sent: it would end the Authorization header and start others.
        setErrorMessage(AccessToken::refusedText());
        response.reset();
    }
    if (response) {
        try {
            m_tokens.save(response->accessToken);
            setUser(response->user);
            m_expiredUser.reset();
            m_session->refusedToken.reset();
        } catch (const std::exception &error) {
            report(error);
        }
    }
    setLoading(false);
}

QCoro::Task<> AuthService::registerAccount(QString email, QString password, std::optional<QString> firstName,
                                           std::optional<QString> lastName)
{
    const QPointer<AuthService> self(this);
    ++m_session->epoch;
    setLoading(true);
    clearError();
    setRegistrationNotice(std::nullopt);
    const std::optional<QJsonValue> body = encode(RegisterRequest{email, password, firstName, lastName});
    std::optional<MessageResponse> response;
    if (body) {
        auto pending = send<MessageResponse>(QStringLiteral("POST"), Endpoints::registration(), body, false);
        response = co_await std::move(pending);
    }
    if (!self)
        co_return;
    if (response)
        setRegistrationNotice(response->message);
    setLoading(false);
}

QCoro::Task<std::optional<QString>> AuthService::sendForMessage(QString path, std::optional<QJsonValue> body)
{
    const QPointer<AuthService> self(this);
    setLoading(true);
    clearError();
    auto pending = send<MessageResponse>(QStringLiteral("POST"), std::move(path), std::move(body), false);
    const std::optional<MessageResponse> response = co_await std::move(pending);
    if (!self)
        co_return std::nullopt;
    setLoading(false);
    if (!response)
        co_return std::nullopt;
    co_return response->message;
}

QCoro::Task<std::optional<QString>> AuthService::refuseLink()
{
    setErrorMessage(AccessToken::linkRefusedText());
    co_return std::nullopt;
}

QCoro::Task<std::optional<QString>> AuthService::verifyEmail(QString token)
{
    // A link's token of megabytes is not sent on, as a sign-in token of that size is not kept.
    if (!AccessToken::fitsLink(token))
        return refuseLink();
    return sendForMessage(Endpoints::verifyEmail(encodeQueryValue(token)), std::nullopt);
}

QCoro::Task<std::optional<QString>> AuthService::forgotPassword(QString email)
{
    return sendForMessage(Endpoints::forgotPassword(), ForgotPasswordRequest{email}.toJson());
}

QCoro::Task<std::optional<QString>> AuthService::resetPassword(QString token, QString password)
{
    if (!AccessToken::fitsLink(token))
        return refuseLink();
    return sendForMessage(Endpoints::resetPassword(), ResetPasswordRequest{token, password}.toJson());
}

void AuthService::logout()
{
    m_expiredUser.reset();
    signOut();
}

void AuthService::expireSession()
{
    // A later unauthorized answer (of a request sent before) finds nobody signed in and leaves
    // the ended session as it is.
    if (m_user)
        m_expiredUser = m_user;
    signOut();
}

void AuthService::signOut()
{
    const qint64 epoch = ++m_session->epoch;
    setUser(std::nullopt);
    clearError();
    setRegistrationNotice(std::nullopt);
    finishLogout(m_session, epoch, &api(), &m_tokens);
}

QCoro::Task<> AuthService::finishLogout(std::shared_ptr<Session> session, qint64 epoch, APIClient *api,
                                        TokenStore *tokens)
{
    // A second end of the same session (a refusal meeting a sign-out of the user's own) sends
    // no second call.
    if (const std::optional<QString> token = tokens->load(); token && !session->signingOut.contains(*token)) {
        session->signingOut.insert(*token);
        try {
            QCoro::Task<QByteArray> pending =
                api->requestData(QStringLiteral("POST"), Endpoints::logout(), std::nullopt, true);
            co_await std::move(pending);
        } catch (const std::exception &) {
            // The local sign-out has happened; the backend's answer changes nothing.
        }
        session->signingOut.remove(*token);
    }
    // A session that began meanwhile keeps its token.
    if (session->epoch == epoch)
        tokens->remove();
}

QString AuthService::encodeQueryValue(const QString &value)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(value));
}

void AuthService::setUser(std::optional<User> user)
{
    if (m_user == user)
        return;
    m_user = std::move(user);
    Q_EMIT userChanged();
}

void AuthService::setLoading(bool loading)
{
    if (m_isLoading == loading)
        return;
    m_isLoading = loading;
    Q_EMIT isLoadingChanged();
}

void AuthService::setRegistrationNotice(std::optional<QString> notice)
{
    if (m_registrationNotice == notice)
        return;
    m_registrationNotice = std::move(notice);
    Q_EMIT registrationNoticeChanged();
}
