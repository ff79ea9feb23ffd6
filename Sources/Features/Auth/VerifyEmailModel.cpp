#include "Features/Auth/VerifyEmailModel.h"

#include "Features/Auth/AccountActions.h"

VerifyEmailModel::VerifyEmailModel(QObject *parent)
    : QObject(parent)
    , m_actions(new AccountActions(this))
{
    connect(m_actions, &AccountActions::emailVerified, this, &VerifyEmailModel::onVerified);
}

void VerifyEmailModel::setAuth(AuthService *auth)
{
    if (m_auth == auth)
        return;
    m_auth = auth;
    m_actions->setAuth(auth);
    Q_EMIT authChanged();
}

void VerifyEmailModel::setToken(const QString &token)
{
    if (m_token == token)
        return;
    m_token = token;
    Q_EMIT tokenChanged();
}

void VerifyEmailModel::start()
{
    if (m_started || !m_auth)
        return;
    m_started = true;
    m_actions->verifyEmail(m_token);
}

// An error text that is present but empty is shown as it is; the fallback is for none at all.
void VerifyEmailModel::onVerified(const QVariant &message)
{
    if (!message.isNull()) {
        m_status = Success;
        m_message = message.toString();
    } else {
        m_status = Error;
        m_message = m_auth && m_auth->hasErrorMessage() ? m_auth->errorMessageText()
                                                        : QStringLiteral("Не удалось подтвердить email");
    }
    Q_EMIT outcomeChanged();
}
