#include "Features/Auth/ForgotPasswordModel.h"

#include "Features/Auth/AccountActions.h"

ForgotPasswordModel::ForgotPasswordModel(QObject *parent)
    : QObject(parent)
    , m_actions(new AccountActions(this))
{
    connect(m_actions, &AccountActions::resetLinkSent, this, &ForgotPasswordModel::onSent);
}

void ForgotPasswordModel::setAuth(AuthService *auth)
{
    if (m_auth == auth)
        return;
    disconnect(m_loadingLink);
    m_auth = auth;
    m_actions->setAuth(auth);
    if (auth)
        m_loadingLink = connect(auth, &AuthService::isLoadingChanged, this, &ForgotPasswordModel::canSendChanged);
    Q_EMIT authChanged();
    Q_EMIT canSendChanged();
}

void ForgotPasswordModel::setEmail(const QString &email)
{
    if (m_email == email)
        return;
    m_email = email;
    Q_EMIT emailChanged();
    Q_EMIT canSendChanged();
}

bool ForgotPasswordModel::canSend() const
{
    return m_auth && !m_auth->isLoading() && !m_email.trimmed().isEmpty();
}

void ForgotPasswordModel::send()
{
    if (canSend())
        m_actions->forgotPassword(m_email.trimmed());
}

// A failed send hides the success of an earlier one.
void ForgotPasswordModel::onSent(const QVariant &message)
{
    std::optional<QString> success = message.isNull() ? std::nullopt : std::optional<QString>(message.toString());
    if (m_success == success)
        return;
    m_success = std::move(success);
    Q_EMIT successChanged();
}
