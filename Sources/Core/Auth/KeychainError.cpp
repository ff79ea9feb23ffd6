#include "KeychainError.h"

KeychainError::KeychainError(int status, std::optional<QString> platformMessage)
    : m_status(status)
    , m_platformMessage(std::move(platformMessage))
    , m_what(errorDescription().toUtf8())
{
}

KeychainError KeychainError::saveFailed(int status, std::optional<QString> platformMessage)
{
    return KeychainError(status, std::move(platformMessage));
}

QString KeychainError::errorDescription() const
{
    QString text = QStringLiteral("Keychain save failed (%1)").arg(m_status);
    if (m_platformMessage && !m_platformMessage->isEmpty())
        text += QStringLiteral(" \u2014 ") + *m_platformMessage;
    return text;
}
