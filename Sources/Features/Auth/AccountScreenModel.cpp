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
}

void AccountScreenModel::setError(std::optional<QString> error)
{
    if (m_error == error)
        return;
    m_error = std::move(error);
    Q_EMIT errorChanged();
}

void AccountScreenModel::takeRequestError()
{
    setError(m_auth ? m_auth->errorMessage() : std::nullopt);
}
