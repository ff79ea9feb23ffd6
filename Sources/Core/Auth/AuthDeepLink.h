#pragma once

#include <QHash>
#include <QString>
#include <optional>

// An e-mail verification or password-reset link handed to the program, with its token.
class AuthDeepLink
{
public:
    enum class Kind { VerifyEmail, ResetPassword };

    static AuthDeepLink verifyEmail(QString token) { return AuthDeepLink(Kind::VerifyEmail, std::move(token)); }
    static AuthDeepLink resetPassword(QString token) { return AuthDeepLink(Kind::ResetPassword, std::move(token)); }

    // The link in the text of a URL, as the system hands it over, or none. Works on the text
    // itself: QUrl would lower-case the host, and routes compare exactly.
    static std::optional<AuthDeepLink> parse(const QString &url);

    Kind kind() const { return m_kind; }
    const QString &token() const { return m_token; }
    // "verify-" or "reset-" and the token: identifies the sheet shown for the link.
    QString id() const;

    friend bool operator==(const AuthDeepLink &, const AuthDeepLink &) = default;

private:
    AuthDeepLink(Kind kind, QString token)
        : m_kind(kind)
        , m_token(std::move(token))
    {
    }

    static std::optional<AuthDeepLink> parse(const QString &route, const QHash<QString, QString> &query);

    Kind m_kind;
    QString m_token;
};
