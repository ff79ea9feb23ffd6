#pragma once

#include "Features/Auth/AccountScreenModel.h"

#include <QtQml/qqmlregistration.h>
#include <optional>

// The recovery screen: an address, and the backend's answer to the last send.
class ForgotPasswordModel : public AccountScreenModel
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString email READ email WRITE setEmail NOTIFY emailChanged)
    Q_PROPERTY(bool canSend READ canSend NOTIFY canSendChanged)
    Q_PROPERTY(bool hasSuccess READ hasSuccess NOTIFY successChanged)
    Q_PROPERTY(QString successMessage READ successText NOTIFY successChanged)

public:
    explicit ForgotPasswordModel(QObject *parent = nullptr);

    QString email() const { return m_email; }
    void setEmail(const QString &email);
    // Not while busy, nor with a blank address; the form of the address is not checked.
    bool canSend() const;
    const std::optional<QString> &successMessage() const { return m_success; }
    bool hasSuccess() const { return m_success.has_value(); }
    QString successText() const { return m_success.value_or(QString()); }

    Q_INVOKABLE void send();

Q_SIGNALS:
    void emailChanged();
    void canSendChanged();
    void successChanged();

private:
    void onSent(const QVariant &message);

    QString m_email;
    std::optional<QString> m_success;
};
