#include "Features/Auth/ResetPasswordModel.h"

#include "Features/Auth/AccountActions.h"
#include "Utils/AccessToken.h"
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
    const bool wasRefused = tokenRefused();
    m_token = token;
    if (tokenRefused())
        setError(AccessToken::linkRefusedText());
    else if (wasRefused)
        setError(std::nullopt);
    Q_EMIT tokenChanged();
    Q_EMIT canSaveChanged();
}

bool ResetPasswordModel::tokenRefused() const
{
    return !AccessToken::fitsLink(m_token);
}

void ResetPasswordModel::setPassword(const QString &password)
{
    if (m_password == password)
        return;
    m_password = password;
    Q_EMIT passwordChanged();
    dropPassedCheck();
}

void ResetPasswordModel::setConfirm(const QString &confirm)
{
    if (m_confirm == confirm)
        return;
    m_confirm = confirm;
    Q_EMIT confirmChanged();
    dropPassedCheck();
}

// A check's text goes as soon as what it asked for is typed; a new one waits for the next save.
void ResetPasswordModel::dropPassedCheck()
{
    if (!m_failedCheck)
        return;
    const bool passes =
        *m_failedCheck == lengthText() ? !lengthProblem(m_password) : !matchProblem(m_password, m_confirm);
    if (!passes)
        return;
    m_failedCheck.reset();
    setError(std::nullopt);
}

bool ResetPasswordModel::canSave() const
{
    return !busy() && !m_success && !tokenRefused();
}

QString ResetPasswordModel::lengthText()
{
    return QStringLiteral("Минимум 6 символов");
}

std::optional<QString> ResetPasswordModel::lengthProblem(const QString &password)
{
    if (Text::graphemeCount(password) < 6)
        return lengthText();
    return std::nullopt;
}

std::optional<QString> ResetPasswordModel::matchProblem(const QString &password, const QString &confirm)
{
    if (password.normalized(QString::NormalizationForm_C) != confirm.normalized(QString::NormalizationForm_C))
        return QStringLiteral("Пароли не совпадают");
    return std::nullopt;
}

std::optional<QString> ResetPasswordModel::problem(const QString &password, const QString &confirm)
{
    if (std::optional<QString> text = lengthProblem(password))
        return text;
    return matchProblem(password, confirm);
}

void ResetPasswordModel::save()
{
    if (!canSave())
        return;
    m_failedCheck = problem(m_password, m_confirm);
    setError(m_failedCheck);
    if (!m_failedCheck)
        actions().resetPassword(m_token, m_password);
}

void ResetPasswordModel::onReset(const QVariant &message)
{
    takeRequestError();
    if (message.isNull())
        return;
    m_success = message.toString();
    Q_EMIT successChanged();
    Q_EMIT canSaveChanged();
}
