#include "Features/Auth/AccountActions.h"

void AccountActions::setAuth(AuthService *auth)
{
    if (m_auth == auth)
        return;
    m_auth = auth;
    Q_EMIT authChanged();
}

void AccountActions::login(const QString &email, const QString &password)
{
    if (m_auth)
        followSession(this, m_auth, m_auth->login(email, password), &AccountActions::loginFinished);
}

void AccountActions::registerAccount(const QString &email, const QString &password,
                                     const std::optional<QString> &firstName, const std::optional<QString> &lastName)
{
    if (m_auth)
        followSession(this, m_auth, m_auth->registerAccount(email, password, firstName, lastName),
                      &AccountActions::registrationFinished);
}

void AccountActions::verifyEmail(const QString &token)
{
    if (m_auth)
        followMessage(this, m_auth, m_auth->verifyEmail(token), &AccountActions::emailVerified);
}

void AccountActions::forgotPassword(const QString &email)
{
    if (m_auth)
        followMessage(this, m_auth, m_auth->forgotPassword(email), &AccountActions::resetLinkSent);
}

void AccountActions::resetPassword(const QString &token, const QString &password)
{
    if (m_auth)
        followMessage(this, m_auth, m_auth->resetPassword(token, password), &AccountActions::passwordReset);
}

QCoro::Task<> AccountActions::followMessage(QPointer<AccountActions> self, QPointer<AuthService> auth,
                                            QCoro::Task<std::optional<QString>> pending, MessageSignal done)
{
    const std::optional<QString> message = co_await std::move(pending);
    if (!self) {
        forgetFailure(auth);
        co_return;
    }
    Q_EMIT(self->*done)(message ? QVariant(*message) : QVariant());
}

QCoro::Task<> AccountActions::followSession(QPointer<AccountActions> self, QPointer<AuthService> auth,
                                            QCoro::Task<> pending, DoneSignal done)
{
    co_await std::move(pending);
    if (!self) {
        forgetFailure(auth);
        co_return;
    }
    Q_EMIT(self->*done)();
}

// A request started since owns the text; otherwise the text is the one this reply left.
void AccountActions::forgetFailure(AuthService *auth)
{
    if (auth && auth->hasErrorMessage() && !auth->isLoading())
        auth->clearErrorMessage();
}
