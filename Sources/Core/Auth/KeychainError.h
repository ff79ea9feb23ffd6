#pragma once

#include <QString>
#include <exception>
#include <optional>

// The credential store refused to keep the token.
class KeychainError : public std::exception
{
public:
    static KeychainError saveFailed(int status, std::optional<QString> platformMessage = std::nullopt);

    int status() const { return m_status; }
    QString errorDescription() const;
    // The description in UTF-8: the services publish it as the failure's text.
    const char *what() const noexcept override { return m_what.constData(); }

private:
    KeychainError(int status, std::optional<QString> platformMessage);

    int m_status;
    std::optional<QString> m_platformMessage;
    QByteArray m_what;
};
