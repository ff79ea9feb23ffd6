#include "Features/Auth/AccountActions.h"

#include <QCoro/QCoroTask>

namespace {
QVariant messageValue(const std::optional<QString> &message)
{
    return message ? QVariant(*message) : QVariant();
}
} // namespace

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
        m_auth->login(email, password);
}

void AccountActions::verifyEmail(const QString &token)
{
    if (!m_auth)
        return;
    QCoro::connect(m_auth->verifyEmail(token), this,
                   [this](const std::optional<QString> &message) { Q_EMIT emailVerified(messageValue(message)); });
}

void AccountActions::resetPassword(const QString &token, const QString &password)
{
    if (!m_auth)
        return;
    QCoro::connect(m_auth->resetPassword(token, password), this,
                   [this](const std::optional<QString> &message) { Q_EMIT passwordReset(messageValue(message)); });
}
