#pragma once

#include "Features/Auth/AccountScreenModel.h"

#include <QtQml/qqmlregistration.h>

// The verification screen of a link: sends the token once, then holds the outcome.
class VerifyEmailModel : public AccountScreenModel
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString token READ token WRITE setToken NOTIFY tokenChanged)
    Q_PROPERTY(Status status READ status NOTIFY outcomeChanged)
    Q_PROPERTY(QString message READ message NOTIFY outcomeChanged)

public:
    enum Status { Loading, Success, Error };
    Q_ENUM(Status)

    explicit VerifyEmailModel(QObject *parent = nullptr);

    QString token() const { return m_token; }
    void setToken(const QString &token);
    Status status() const { return m_status; }
    QString message() const { return m_message; }

    // Sends the token; later calls do nothing, so one showing sends it once.
    Q_INVOKABLE void start();

Q_SIGNALS:
    void tokenChanged();
    void outcomeChanged();

private:
    void onVerified(const QVariant &message);

    QString m_token;
    Status m_status = Loading;
    QString m_message;
    bool m_started = false;
};
