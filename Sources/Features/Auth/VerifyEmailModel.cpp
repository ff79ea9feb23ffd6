#include "Features/Auth/VerifyEmailModel.h"

#include "Features/Auth/AccountActions.h"

VerifyEmailModel::VerifyEmailModel(QObject *parent)
    : AccountScreenModel(parent)
{
    connect(&actions(), &AccountActions::emailVerified, this, &VerifyEmailModel::onVerified);
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
    if (m_started || !auth())
        return;
    m_started = true;
    actions().verifyEmail(m_token);
}

// An error text that is present but empty is shown as it is; the fallback is for none at all.
void VerifyEmailModel::onVerified(const QVariant &message)
{
    if (!message.isNull()) {
        m_status = Success;
        m_message = message.toString();
    } else {
        m_status = Error;
        m_message = auth() && auth()->hasErrorMessage() ? auth()->errorMessageText()
                                                        : QStringLiteral("Не удалось подтвердить email");
    }
    Q_EMIT outcomeChanged();
}
