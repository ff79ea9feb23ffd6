#include "Features/Auth/AccountScreenModel.h"

#include "Features/Auth/AccountActions.h"

AccountScreenModel::AccountScreenModel(QObject *parent)
    : QObject(parent)
    , m_actions(new AccountActions(this))
{
}

void AccountScreenModel::setAuth(AuthService *auth)
{
    if (m_auth == auth)
        return;
    if (m_auth)
        m_auth->disconnect(this);
    m_auth = auth;
    m_actions->setAuth(auth);
    if (auth)
        follow(*auth);
    Q_EMIT authChanged();
    Q_EMIT busyChanged();
}

void AccountScreenModel::follow(AuthService &auth)
{
    connect(&auth, &AuthService::isLoadingChanged, this, &AccountScreenModel::busyChanged);
    connect(&auth, &AuthService::errorMessageChanged, this, &AccountScreenModel::onServiceErrorChanged);
}

void AccountScreenModel::setError(std::optional<QString> error)
{
    m_errorIsService = false;
    if (m_error == error)
        return;
    m_error = std::move(error);
    Q_EMIT errorChanged();
}

void AccountScreenModel::takeRequestError()
{
    setError(m_auth ? m_auth->errorMessage() : std::nullopt);
    m_errorIsService = m_error.has_value();
}

// Only a clearing is followed: a text the service gets later belongs to another screen's request.
void AccountScreenModel::onServiceErrorChanged()
{
    if (m_errorIsService && m_auth && !m_auth->hasErrorMessage())
        setError(std::nullopt);
}
