#include "APIError.h"

#include "Utils/Text.h"

APIError::APIError(Kind kind, int status, std::optional<QString> message, QString cause)
    : m_kind(kind)
    , m_status(status)
    , m_message(std::move(message))
    , m_cause(std::move(cause))
{
    // Both may carry the server's words: bounded here, once, before any screen lays them out.
    if (m_message)
        m_message = Text::boundedMessage(*m_message);
    m_cause = Text::boundedMessage(m_cause);
    m_what = errorDescription().toUtf8();
}

APIError APIError::http(int status, std::optional<QString> message)
{
    return APIError(Kind::Http, status, std::move(message), {});
}

APIError APIError::decoding(const QString &cause)
{
    return APIError(Kind::Decoding, -1, std::nullopt, cause);
}

APIError APIError::invalidURL()
{
    return APIError(Kind::InvalidURL, -1, std::nullopt, {});
}

APIError APIError::tooLarge()
{
    return APIError(Kind::TooLarge, -1, std::nullopt, {});
}

APIError APIError::unauthorized()
{
    return APIError(Kind::Unauthorized, 401, std::nullopt, {});
}

QString APIError::errorDescription() const
{
    switch (m_kind) {
    case Kind::Http:
        if (m_message)
            return *m_message;
        return QStringLiteral("Ошибка сервера (%1)").arg(m_status);
    case Kind::Decoding:
        // The decoder's own words (a coding path, a JSON key) tell a person nothing: cause()
        // keeps them for the log.
        return QStringLiteral("Ошибка разбора ответа: сервер прислал данные, которые приложение не может прочитать. "
                              "Попробуйте позже; если ошибка повторится, обратитесь в поддержку.");
    case Kind::InvalidURL:
        return QStringLiteral("Некорректный URL");
    case Kind::Unauthorized:
        return QStringLiteral("Сессия истекла. Войдите снова.");
    case Kind::TooLarge:
        return QStringLiteral("Ответ сервера слишком большой: приложение не может его принять. "
                              "Попробуйте позже; если ошибка повторится, обратитесь в поддержку.");
    }
    return {};
}
