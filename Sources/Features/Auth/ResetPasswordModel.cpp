#include "Features/Auth/ResetPasswordModel.h"

#include "Features/Auth/AccountActions.h"
#include "Utils/Text.h"

ResetPasswordModel::ResetPasswordModel(QObject *parent)
    : AccountScreenModel(parent)
{
    connect(&actions(), &AccountActions::passwordReset, this, &ResetPasswordModel::onReset);
    connect(this, &AccountScreenModel::busyChanged, this, &ResetPasswordModel::canSaveChanged);
}

void ResetPasswordModel::setToken(const QString &token)
{
    if (m_token == token)
        return;
    m_token = token;
    Q_EMIT tokenChanged();
}

void ResetPasswordModel::setPassword(const QString &password)
{
    if (m_password == password)
        return;
    m_password = password;
    Q_EMIT passwordChanged();
}

void ResetPasswordModel::setConfirm(const QString &confirm)
{
    if (m_confirm == confirm)
        return;
    m_confirm = confirm;
    Q_EMIT confirmChanged();
}

bool ResetPasswordModel::canSave() const
{
    return !busy() && !m_success;
}

std::optional<QString> ResetPasswordModel::problem(const QString &password, const QString &confirm)
{
    if (Text::graphemeCount(password) < 6)
        return QStringLiteral("Минимум 6 символов");
    if (password.normalized(QString::NormalizationForm_C) != confirm.normalized(QString::NormalizationForm_C))
        return QStringLiteral("Пароли не совпадают");
    return std::nullopt;
}

void ResetPasswordModel::save()
{
    if (!canSave())
        return;
    if (const std::optional<QString> text = problem(m_password, m_confirm)) {
        auth()->showErrorMessage(*text);
        return;
    }
    actions().resetPassword(m_token, m_password);
}

void ResetPasswordModel::onReset(const QVariant &message)
{
    if (message.isNull())
        return;
    m_success = message.toString();
    Q_EMIT successChanged();
    Q_EMIT canSaveChanged();
}
