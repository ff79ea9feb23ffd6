#pragma once

#include "Features/Auth/AccountScreenModel.h"

#include <QtQml/qqmlregistration.h>
#include <optional>

// The new-password screen of a reset link: two entries, their checks, and the backend's answer.
// A check's text stays until the entries pass that check or the next save; the backend's until
// the next save. A link whose token is longer than any the backend sends is refused at once:
// nothing is asked for and nothing sent.
class ResetPasswordModel : public AccountScreenModel
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString token READ token WRITE setToken NOTIFY tokenChanged)
    Q_PROPERTY(bool tokenRefused READ tokenRefused NOTIFY tokenChanged)
    Q_PROPERTY(QString password READ password WRITE setPassword NOTIFY passwordChanged)
    Q_PROPERTY(QString confirm READ confirm WRITE setConfirm NOTIFY confirmChanged)
    // Not while busy, and never again after a success.
    Q_PROPERTY(bool canSave READ canSave NOTIFY canSaveChanged)
    Q_PROPERTY(bool hasSuccess READ hasSuccess NOTIFY successChanged)
    Q_PROPERTY(QString successMessage READ successText NOTIFY successChanged)

public:
    explicit ResetPasswordModel(QObject *parent = nullptr);

    QString token() const { return m_token; }
    void setToken(const QString &token);
    bool tokenRefused() const;
    QString password() const { return m_password; }
    void setPassword(const QString &password);
    QString confirm() const { return m_confirm; }
    void setConfirm(const QString &confirm);
    bool canSave() const;
    bool hasSuccess() const { return m_success.has_value(); }
    QString successText() const { return m_success.value_or(QString()); }

    // The first failed check, in order: length in user-perceived characters, then equality of
    // the canonical forms. Neither entry is trimmed.
    static std::optional<QString> problem(const QString &password, const QString &confirm);
    static std::optional<QString> lengthProblem(const QString &password);
    static std::optional<QString> matchProblem(const QString &password, const QString &confirm);

    // Checks, then sends the token and the password as typed.
    Q_INVOKABLE void save();

Q_SIGNALS:
    void tokenChanged();
    void passwordChanged();
    void confirmChanged();
    void canSaveChanged();
    void successChanged();

private:
    static QString lengthText();
    void onReset(const QVariant &message);
    void dropPassedCheck();

    QString m_token;
    QString m_password;
    QString m_confirm;
    std::optional<QString> m_success;
    // The text of the check the last save failed, while it is shown.
    std::optional<QString> m_failedCheck;
};
