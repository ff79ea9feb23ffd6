#include "Features/Auth/ForgotPasswordModel.h"

#include "Features/Auth/AccountActions.h"

ForgotPasswordModel::ForgotPasswordModel(QObject *parent)
    : AccountScreenModel(parent)
{
    connect(&actions(), &AccountActions::resetLinkSent, this, &ForgotPasswordModel::onSent);
    connect(this, &AccountScreenModel::busyChanged, this, &ForgotPasswordModel::canSendChanged);
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
    return !busy() && !m_email.trimmed().isEmpty();
}

void ForgotPasswordModel::send()
{
    if (!canSend())
        return;
    setError(std::nullopt);
    actions().forgotPassword(m_email.trimmed());
}

// A failed send hides the success of an earlier one.
void ForgotPasswordModel::onSent(const QVariant &message)
{
    takeRequestError();
    std::optional<QString> success = message.isNull() ? std::nullopt : std::optional<QString>(message.toString());
    if (m_success == success)
        return;
    m_success = std::move(success);
    Q_EMIT successChanged();
}
