#include "AuthDeepLink.h"

#include "Utils/Text.h"

#include <QRegularExpression>
#include <QUrl>

namespace {

struct UrlParts
{
    std::optional<QString> scheme;
    std::optional<QString> host; // present when the URL has an authority
    QString path;
    std::optional<QString> query;
};

QString decoded(QStringView text)
{
    return QUrl::fromPercentEncoding(text.toUtf8());
}

// Splits a URL as RFC 3986 reads it, keeping the letter case of every part.
std::optional<UrlParts> split(const QString &text)
{
    if (text.isEmpty() || !QUrl(text, QUrl::StrictMode).isValid())
        return std::nullopt;
    UrlParts parts;
    QStringView rest(text);
    static const QRegularExpression schemePattern(QStringLiteral("^([A-Za-z][A-Za-z0-9+.\\-]*):"));
    const QRegularExpressionMatch scheme = schemePattern.match(text);
    if (scheme.hasMatch()) {
        parts.scheme = scheme.captured(1);
        rest = rest.mid(scheme.capturedLength(0));
    }
    const qsizetype fragment = rest.indexOf(QLatin1Char('#'));
    if (fragment >= 0)
        rest = rest.left(fragment);
    if (rest.startsWith(QStringLiteral("//"))) {
        rest = rest.mid(2);
        qsizetype end = 0;
        while (end < rest.size() && rest.at(end) != QLatin1Char('/') && rest.at(end) != QLatin1Char('?'))
            ++end;
        QStringView authority = rest.left(end);
        rest = rest.mid(end);
        const qsizetype at = authority.lastIndexOf(QLatin1Char('@'));
        if (at >= 0)
            authority = authority.mid(at + 1);
        if (authority.startsWith(QLatin1Char('['))) {
            const qsizetype close = authority.indexOf(QLatin1Char(']'));
            authority = authority.left(close >= 0 ? close + 1 : authority.size());
        } else {
            const qsizetype colon = authority.indexOf(QLatin1Char(':'));
            if (colon >= 0)
                authority = authority.left(colon);
        }
        parts.host = decoded(authority);
    }
    const qsizetype question = rest.indexOf(QLatin1Char('?'));
    if (question >= 0) {
        parts.query = rest.mid(question + 1).toString();
        rest = rest.left(question);
    }
    parts.path = decoded(rest);
    return parts;
}

// Items written without "=" carry no value and are skipped; of repeated names the first with a
// value counts. "+" stays a "+".
QHash<QString, QString> queryMap(const std::optional<QString> &query)
{
    QHash<QString, QString> map;
    if (!query)
        return map;
    for (QStringView item : QStringView(*query).split(QLatin1Char('&'))) {
        const qsizetype equals = item.indexOf(QLatin1Char('='));
        if (equals < 0)
            continue;
        const QString name = decoded(item.left(equals));
        if (!map.contains(name))
            map.insert(name, decoded(item.mid(equals + 1)));
    }
    return map;
}

} // namespace

QString AuthDeepLink::id() const
{
    return (m_kind == Kind::VerifyEmail ? QStringLiteral("verify-") : QStringLiteral("reset-")) + m_token;
}

std::optional<AuthDeepLink> AuthDeepLink::parse(const QString &route, const QHash<QString, QString> &query)
{
    const QString token = query.value(QStringLiteral("token"));
    if (token.isEmpty())
        return std::nullopt;
    if (route == QStringLiteral("verify-email"))
        return verifyEmail(token);
    if (route == QStringLiteral("reset-password"))
        return resetPassword(token);
    return std::nullopt;
}

std::optional<AuthDeepLink> AuthDeepLink::parse(const QString &url)
{
    const std::optional<UrlParts> parts = split(url);
    if (!parts)
        return std::nullopt;
    if (parts->scheme && parts->scheme->toLower() == QStringLiteral("tessmark")) {
        const QString route = parts->host && !parts->host->isEmpty() ? *parts->host : Text::trimmedSlashes(parts->path);
        return parse(route, queryMap(parts->query));
    }
    // A web link: any host, the path must be the route itself.
    if (parts->host && !parts->host->isEmpty())
        return parse(Text::trimmedSlashes(parts->path), queryMap(parts->query));
    return std::nullopt;
}
