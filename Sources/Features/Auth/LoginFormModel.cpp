#include "Features/Auth/LoginFormModel.h"

#include "Features/Auth/AccountActions.h"
#include "Utils/Text.h"

LoginFormModel::LoginFormModel(QObject *parent)
    : AccountScreenModel(parent)
{
    connect(&actions(), &AccountActions::loginFinished, this, &LoginFormModel::takeRequestError);
    connect(&actions(), &AccountActions::registrationFinished, this, &LoginFormModel::takeRequestError);
    connect(&actions(), &AccountActions::registrationFinished, this, &LoginFormModel::onRegistrationFinished);
    connect(this, &AccountScreenModel::authChanged, this, &LoginFormModel::noticeChanged);
}

void LoginFormModel::follow(AuthService &auth)
{
    AccountScreenModel::follow(auth);
    connect(&auth, &AuthService::registrationNoticeChanged, this, &LoginFormModel::noticeChanged);
}

void LoginFormModel::setEmail(const QString &email)
{
    if (m_email == email)
        return;
    m_email = email;
    Q_EMIT emailChanged();
    clearErrors();
}

void LoginFormModel::setPassword(const QString &password)
{
    if (m_password == password)
        return;
    m_password = password;
    Q_EMIT passwordChanged();
    clearErrors();
}

void LoginFormModel::setFirstName(const QString &name)
{
    if (m_firstName == name)
        return;
    m_firstName = name;
    Q_EMIT firstNameChanged();
}

void LoginFormModel::setLastName(const QString &name)
{
    if (m_lastName == name)
        return;
    m_lastName = name;
    Q_EMIT lastNameChanged();
}

void LoginFormModel::setRegister(bool isRegister)
{
    if (m_isRegister == isRegister)
        return;
    setMode(isRegister);
    clearErrors();
}

void LoginFormModel::toggleMode()
{
    setMode(!m_isRegister);
    clearErrors();
}

QString LoginFormModel::submitText() const
{
    return m_isRegister ? QStringLiteral("Зарегистрироваться") : QStringLiteral("Войти");
}

QString LoginFormModel::toggleText() const
{
    return m_isRegister ? QStringLiteral("Уже есть аккаунт? Войти") : QStringLiteral("Создать аккаунт");
}

bool LoginFormModel::showsNotice() const
{
    return auth() && !auth()->registrationNoticeText().isEmpty();
}

QString LoginFormModel::trimmedEmail(const QString &typed)
{
    return typed.trimmed();
}

std::optional<QString> LoginFormModel::emailProblem(const QString &trimmed)
{
    if (trimmed.isEmpty())
        return QStringLiteral("Укажите email");
    if (!trimmed.contains(QLatin1Char('@')) || !trimmed.contains(QLatin1Char('.')))
        return QStringLiteral("Некорректный email");
    return std::nullopt;
}

std::optional<QString> LoginFormModel::passwordProblem(const QString &password)
{
    if (password.isEmpty())
        return QStringLiteral("Введите пароль");
    if (Text::graphemeCount(password) < 6)
        return QStringLiteral("Минимум 6 символов");
    return std::nullopt;
}

std::optional<QString> LoginFormModel::nameToSend(const QString &typed)
{
    if (Text::trimmedSpacesAndTabs(typed).isEmpty())
        return std::nullopt;
    return typed;
}

bool LoginFormModel::submit()
{
    if (busy())
        return false;
    clearErrors();
    const QString email = trimmedEmail(m_email);
    // Both checks run, so both errors can show at once.
    setEmailError(emailProblem(email));
    setPasswordError(passwordProblem(m_password));
    if (m_emailError || m_passwordError)
        return false;
    Q_EMIT submitted();
    if (m_isRegister)
        actions().registerAccount(email, m_password, nameToSend(m_firstName), nameToSend(m_lastName));
    else
        actions().login(email, m_password);
    return true;
}

// Runs on every keystroke: writes only what is set, so typing publishes nothing once clear.
void LoginFormModel::clearErrors()
{
    if (auth() && auth()->hasErrorMessage())
        auth()->clearErrorMessage();
    setError(std::nullopt);
    setEmailError(std::nullopt);
    setPasswordError(std::nullopt);
}

void LoginFormModel::setEmailError(std::optional<QString> error)
{
    if (m_emailError == error)
        return;
    m_emailError = std::move(error);
    Q_EMIT emailErrorChanged();
}

void LoginFormModel::setPasswordError(std::optional<QString> error)
{
    if (m_passwordError == error)
        return;
    m_passwordError = std::move(error);
    Q_EMIT passwordErrorChanged();
}

void LoginFormModel::setMode(bool isRegister)
{
    if (m_isRegister == isRegister)
        return;
    m_isRegister = isRegister;
    Q_EMIT isRegisterChanged();
}

// A notice means the account was made: back to sign-in with the text kept.
void LoginFormModel::onRegistrationFinished()
{
    if (auth() && auth()->hasRegistrationNotice())
        setMode(false);
}
