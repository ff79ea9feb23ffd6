#pragma once

#include "Features/Auth/AccountScreenModel.h"

#include <QVariant>
#include <QtQml/qqmlregistration.h>
#include <optional>

// The sign-in and registration form: what is typed, the mode, the checks on the device and the
// request they let through. The service's busy state, error text and notice are the window's.
class LoginFormModel : public AccountScreenModel
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString email READ email WRITE setEmail NOTIFY emailChanged)
    Q_PROPERTY(QString password READ password WRITE setPassword NOTIFY passwordChanged)
    Q_PROPERTY(QString firstName READ firstName WRITE setFirstName NOTIFY firstNameChanged)
    Q_PROPERTY(QString lastName READ lastName WRITE setLastName NOTIFY lastNameChanged)
    // Writing the other mode clears the errors; writing the current one does nothing.
    Q_PROPERTY(bool isRegister READ isRegister WRITE setRegister NOTIFY isRegisterChanged)
    // null while there is none, as the text field takes it.
    Q_PROPERTY(QVariant emailError READ emailErrorValue NOTIFY emailErrorChanged)
    Q_PROPERTY(QVariant passwordError READ passwordErrorValue NOTIFY passwordErrorChanged)
    Q_PROPERTY(QString submitText READ submitText NOTIFY isRegisterChanged)
    Q_PROPERTY(QString toggleText READ toggleText NOTIFY isRegisterChanged)
    // An empty notice switches the mode but shows no banner.
    Q_PROPERTY(bool showsNotice READ showsNotice NOTIFY noticeChanged)

public:
    explicit LoginFormModel(QObject *parent = nullptr);

    QString email() const { return m_email; }
    void setEmail(const QString &email);
    QString password() const { return m_password; }
    void setPassword(const QString &password);
    QString firstName() const { return m_firstName; }
    void setFirstName(const QString &name);
    QString lastName() const { return m_lastName; }
    void setLastName(const QString &name);
    bool isRegister() const { return m_isRegister; }
    void setRegister(bool isRegister);
    const std::optional<QString> &emailError() const { return m_emailError; }
    const std::optional<QString> &passwordError() const { return m_passwordError; }
    QVariant emailErrorValue() const { return m_emailError ? QVariant(*m_emailError) : QVariant(); }
    QVariant passwordErrorValue() const { return m_passwordError ? QVariant(*m_passwordError) : QVariant(); }
    QString submitText() const;
    QString toggleText() const;
    bool showsNotice() const;

    // The address as it is checked and sent: without white space or line ends around it.
    static QString trimmedEmail(const QString &typed);
    static std::optional<QString> emailProblem(const QString &trimmed);
    // On the password as typed, counted in user-perceived characters.
    static std::optional<QString> passwordProblem(const QString &password);
    // A name blank in spaces and tabs is not sent; any other is sent as typed.
    static std::optional<QString> nameToSend(const QString &typed);

    // Checks the fields and, when both pass, starts the request of the mode; true when it did.
    // Nothing happens while the service is busy, as with the disabled button.
    Q_INVOKABLE bool submit();
    Q_INVOKABLE void toggleMode();

Q_SIGNALS:
    void emailChanged();
    void passwordChanged();
    void firstNameChanged();
    void lastNameChanged();
    void isRegisterChanged();
    void emailErrorChanged();
    void passwordErrorChanged();
    void noticeChanged();
    // A request has started: no field keeps the focus.
    void submitted();

protected:
    void follow(AuthService &auth) override;

private:
    void clearErrors();
    void setEmailError(std::optional<QString> error);
    void setPasswordError(std::optional<QString> error);
    void setMode(bool isRegister);
    void onRegistrationFinished();

    QString m_email;
    QString m_password;
    QString m_firstName;
    QString m_lastName;
    bool m_isRegister = false;
    std::optional<QString> m_emailError;
    std::optional<QString> m_passwordError;
};
