#include "AccountsApi.h"

#include "TestBackend.h"

#include <QJsonArray>
#include <QJsonObject>

namespace AccountsApi {

namespace {

QString text(const QJsonObject &body, const QString &key)
{
    return body.value(key).toString();
}

std::optional<QString> optionalText(const QJsonObject &body, const QString &key)
{
    const QJsonValue value = body.value(key);
    return value.isString() ? std::optional<QString>(value.toString()) : std::nullopt;
}

// Validation failures come back as a list of texts, as the real backend does.
BackendReply invalid(const QStringList &problems)
{
    return BackendReply::json(400,
                              QJsonObject{{QStringLiteral("message"), QJsonArray::fromStringList(problems)},
                                          {QStringLiteral("error"), QStringLiteral("Bad Request")},
                                          {QStringLiteral("statusCode"), 400}});
}

QStringList credentialProblems(const QJsonObject &body)
{
    QStringList problems;
    if (!text(body, QStringLiteral("email")).contains(QLatin1Char('@')))
        problems.append(QStringLiteral("email must be an email"));
    if (text(body, QStringLiteral("password")).size() < 6)
        problems.append(QStringLiteral("password must be longer than or equal to 6 characters"));
    return problems;
}

} // namespace

void install(TestBackend &backend)
{
    BackendData &data = backend.data();

    backend.addRoute(QStringLiteral("POST"), QStringLiteral("auth/login"),
                     [&data](const RecordedRequest &request, const QStringList &) {
                         const QJsonObject body = request.json().toObject();
                         BackendData::Account *account = data.accountByEmail(text(body, QStringLiteral("email")));
                         if (!account || account->password != text(body, QStringLiteral("password")))
                             return BackendReply::message(401, QStringLiteral("Неверный email или пароль"));
                         if (!account->verified)
                             return BackendReply::message(403, QStringLiteral("Подтвердите email, чтобы войти"));
                         return BackendReply::json(
                             200,
                             QJsonObject{{QStringLiteral("access_token"), data.issueToken(account->id)},
                                         {QStringLiteral("user"), BackendData::userJson(*account)}});
                     });

    backend.addRoute(
        QStringLiteral("POST"), QStringLiteral("auth/register"),
        [&data](const RecordedRequest &request, const QStringList &) {
            const QJsonObject body = request.json().toObject();
            if (const QStringList problems = credentialProblems(body); !problems.isEmpty())
                return invalid(problems);
            if (data.accountByEmail(text(body, QStringLiteral("email"))))
                return BackendReply::message(409, QStringLiteral("Пользователь с таким email уже зарегистрирован"));
            BackendData::Account &account = data.addAccount(
                text(body, QStringLiteral("email")), text(body, QStringLiteral("password")), false,
                optionalText(body, QStringLiteral("firstName")), optionalText(body, QStringLiteral("lastName")));
            data.issueVerificationToken(account.id);
            return BackendReply::message(
                201, QStringLiteral("Регистрация прошла успешно. Проверьте почту и подтвердите email."));
        });

    backend.addRoute(QStringLiteral("POST"), QStringLiteral("auth/verify-email"),
                     [&data](const RecordedRequest &request, const QStringList &) {
                         const QString token = request.queryItem(QStringLiteral("token")).value_or(QString());
                         if (!data.verificationTokens.contains(token))
                             return BackendReply::message(
                                 400, QStringLiteral("Ссылка подтверждения недействительна или устарела"));
                         if (BackendData::Account *account = data.account(data.verificationTokens.take(token)))
                             account->verified = true;
                         return BackendReply::message(200, QStringLiteral("Email подтверждён. Теперь можно войти."));
                     });

    backend.addRoute(
        QStringLiteral("POST"), QStringLiteral("auth/forgot-password"),
        [&data](const RecordedRequest &request, const QStringList &) {
            const QJsonObject body = request.json().toObject();
            if (BackendData::Account *account = data.accountByEmail(text(body, QStringLiteral("email"))))
                data.issueResetToken(account->id);
            // The same answer whether or not the address is known.
            return BackendReply::message(
                200,
                QStringLiteral("Если такой email зарегистрирован, мы отправили на него ссылку для сброса пароля."));
        });

    backend.addRoute(QStringLiteral("POST"), QStringLiteral("auth/reset-password"),
                     [&data](const RecordedRequest &request, const QStringList &) {
                         const QJsonObject body = request.json().toObject();
                         const QString token = text(body, QStringLiteral("token"));
                         if (!data.resetTokens.contains(token))
                             return BackendReply::message(
                                 400, QStringLiteral("Ссылка сброса пароля недействительна или устарела"));
                         if (text(body, QStringLiteral("password")).size() < 6)
                             return invalid({QStringLiteral("password must be longer than or equal to 6 characters")});
                         if (BackendData::Account *account = data.account(data.resetTokens.take(token))) {
                             account->password = text(body, QStringLiteral("password"));
                             account->updatedAt = BackendData::now();
                         }
                         return BackendReply::message(200, QStringLiteral("Пароль изменён. Войдите с новым паролем."));
                     });

    backend.addRoute(QStringLiteral("POST"), QStringLiteral("auth/logout"),
                     [&backend, &data](const RecordedRequest &request, const QStringList &) {
                         if (!backend.accountId(request))
                             return TestBackend::unauthorized();
                         data.tokens.remove(QString::fromUtf8(request.header("Authorization").mid(7)));
                         return BackendReply::message(200, QStringLiteral("Вы вышли из аккаунта"));
                     });

    backend.addAccountRoute(QStringLiteral("GET"), QStringLiteral("users/profile"),
                            [&data](const QString &accountId, const RecordedRequest &, const QStringList &) {
                                return BackendReply::json(200, BackendData::userJson(*data.account(accountId)));
                            });
}

} // namespace AccountsApi
