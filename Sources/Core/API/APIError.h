#pragma once

#include <QString>
#include <exception>
#include <optional>

// A failed backend call, with the text the screens show. The message and the cause are kept as
// Text::boundedMessage makes them, whatever the answer held.
class APIError : public std::exception
{
public:
    enum class Kind { Http, Decoding, InvalidURL, Unauthorized, TooLarge };

    // status is the HTTP status, or -1 when there is none (transport failure, not an HTTP answer).
    static APIError http(int status, std::optional<QString> message);
    // cause is the decoder's description of what did not match; it is kept for the log, while
    // the screens show a text of their own.
    static APIError decoding(const QString &cause);
    static APIError invalidURL();
    // An answer longer than the client takes (status -1: its body was never read).
    static APIError tooLarge();
    static APIError unauthorized();

    Kind kind() const { return m_kind; }
    // An answer came but could not be taken: whatever was asked may have been done all the same.
    bool answerUnread() const { return m_kind == Kind::Decoding || m_kind == Kind::TooLarge; }
    int status() const { return m_status; }
    const std::optional<QString> &message() const { return m_message; }
    const QString &cause() const { return m_cause; }

    QString errorDescription() const;
    const char *what() const noexcept override { return m_what.constData(); }

private:
    APIError(Kind kind, int status, std::optional<QString> message, QString cause);

    Kind m_kind;
    int m_status = -1;
    std::optional<QString> m_message;
    QString m_cause;
    QByteArray m_what;
};
