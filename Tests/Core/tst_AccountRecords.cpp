#include "DecodingCheck.h"
#include "Models/AuthResponse.h"
#include "Models/ForgotPasswordRequest.h"
#include "Models/LoginRequest.h"
#include "Models/MessageResponse.h"
#include "Models/RegisterRequest.h"
#include "Models/ResetPasswordRequest.h"
#include "Models/User.h"

#include <QTest>
#include <functional>

using Kind = DecodingError::Kind;
using Read = std::function<void(const QJsonValue &)>;

namespace {

QJsonObject validUser()
{
    return parsedObject(R"({"id": "u1", "email": "anna@example.org", "firstName": "Анна", "lastName": "Петрова",
                            "createdAt": "2024-05-01", "updatedAt": "2024-05-02", "role": "admin"})");
}

} // namespace

class tst_AccountRecords : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void users_data()
    {
        QTest::addColumn<QJsonObject>("replaced");
        QTest::addColumn<QStringList>("removed");
        QTest::addColumn<std::optional<QString>>("firstName");
        const QJsonValue null(QJsonValue::Null);
        QTest::newRow("full, unknown keys ignored") << QJsonObject{} << QStringList{}
                                                    << std::optional<QString>(QStringLiteral("Анна"));
        QTest::newRow("first name null") << QJsonObject{{"firstName", null}} << QStringList{}
                                         << std::optional<QString>();
        QTest::newRow("first name missing") << QJsonObject{} << QStringList{"firstName"} << std::optional<QString>();
        QTest::newRow("first name empty") << QJsonObject{{"firstName", ""}} << QStringList{}
                                          << std::optional<QString>(QString());
        QTest::newRow("first name not trimmed") << QJsonObject{{"firstName", " Анна "}} << QStringList{}
                                                << std::optional<QString>(QStringLiteral(" Анна "));
    }
    void users()
    {
        QFETCH(QJsonObject, replaced);
        QFETCH(QStringList, removed);
        const User user = User::fromJson(edited(validUser(), replaced, removed));
        QCOMPARE(user.id, QStringLiteral("u1"));
        QCOMPARE(user.email, QStringLiteral("anna@example.org"));
        QTEST(user.firstName, "firstName");
        QCOMPARE(User::fromJson(user.toJson()), user);
    }

    void failures_data()
    {
        QTest::addColumn<QJsonValue>("json");
        QTest::addColumn<Read>("read");
        QTest::addColumn<DecodingError::Kind>("kind");
        QTest::addColumn<QString>("path");
        const Read user = [](const QJsonValue &v) { User::fromJson(v); };
        const Read auth = [](const QJsonValue &v) { AuthResponse::fromJson(v); };
        const Read message = [](const QJsonValue &v) { MessageResponse::fromJson(v); };
        const QJsonObject token{{"access_token", "t"}, {"user", validUser()}};

        QTest::newRow("user id a number") << QJsonValue(edited(validUser(), {{"id", 42}}, {})) << user
                                          << Kind::TypeMismatch << "id";
        QTest::newRow("user without email") << QJsonValue(edited(validUser(), {}, {"email"})) << user
                                            << Kind::KeyNotFound << "email";
        QTest::newRow("user last name a number") << QJsonValue(edited(validUser(), {{"lastName", 1}}, {}))
                                                 << user << Kind::TypeMismatch << "lastName";
        QTest::newRow("user not an object") << QJsonValue(QJsonArray{}) << user << Kind::TypeMismatch << "";
        QTest::newRow("token under its field name")
            << QJsonValue(QJsonObject{{"accessToken", "t"}, {"user", validUser()}}) << auth << Kind::KeyNotFound
            << "access_token";
        QTest::newRow("token null") << QJsonValue(edited(token, {{"access_token", QJsonValue::Null}}, {}))
                                    << auth << Kind::ValueNotFound << "access_token";
        QTest::newRow("answer without user") << QJsonValue(edited(token, {}, {"user"})) << auth
                                             << Kind::KeyNotFound << "user";
        QTest::newRow("answer with a bad user")
            << QJsonValue(edited(token, {{"user", edited(validUser(), {}, {"id"})}}, {})) << auth
            << Kind::KeyNotFound << "user.id";
        QTest::newRow("message missing") << QJsonValue(QJsonObject{}) << message << Kind::KeyNotFound
                                         << "message";
        QTest::newRow("message a list") << QJsonValue(QJsonObject{{"message", QJsonArray{"a", "b"}}})
                                        << message << Kind::TypeMismatch << "message";
        QTest::newRow("message null") << QJsonValue(QJsonObject{{"message", QJsonValue::Null}}) << message
                                      << Kind::ValueNotFound << "message";
    }
    void failures()
    {
        QFETCH(QJsonValue, json);
        QFETCH(Read, read);
        QFETCH(DecodingError::Kind, kind);
        QFETCH(QString, path);
        const auto failure = decodingFailure([&] { read(json); });
        COMPARE_DECODING_FAILURE(failure, kind, path, "");
    }

    void signInAnswer()
    {
        const AuthResponse response =
            AuthResponse::fromJson(QJsonObject{{"access_token", "tok"}, {"user", validUser()}, {"flag", true}});
        QCOMPARE(response.accessToken, QStringLiteral("tok"));
        QCOMPARE(response.user, User::fromJson(validUser()));
        const QJsonObject written = response.toJson();
        QCOMPARE(written.keys(), (QStringList{"access_token", "user"}));
        QCOMPARE(AuthResponse::fromJson(written).user, response.user);
        QCOMPARE(MessageResponse::fromJson(QJsonObject{{"message", "Готово"}, {"code", 1}}).message,
                 QStringLiteral("Готово"));
    }

    void userEquality()
    {
        const User user = User::fromJson(validUser());
        User other = user;
        QVERIFY(other == user);
        other.updatedAt = QStringLiteral("2024-05-03");
        QVERIFY(other != user);
        other = user;
        other.lastName.reset();
        QVERIFY(other != user);
        other.lastName = QString();
        QVERIFY(other != user);
    }

    void requestBodies_data()
    {
        QTest::addColumn<QJsonObject>("written");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("login") << LoginRequest{"a@b.c", "pw"}.toJson()
                               << QByteArray(R"({"email":"a@b.c","password":"pw"})");
        QTest::newRow("register without names") << RegisterRequest{"a@b.c", "pw", {}, {}}.toJson()
                                                << QByteArray(R"({"email":"a@b.c","password":"pw"})");
        QTest::newRow("register with names")
            << RegisterRequest{"a@b.c", "pw", QStringLiteral("Анна"), QString()}.toJson()
            << QStringLiteral(R"({"email":"a@b.c","firstName":"Анна","lastName":"","password":"pw"})").toUtf8();
        QTest::newRow("forgot password") << ForgotPasswordRequest{" a@b.c "}.toJson()
                                         << QByteArray(R"({"email":" a@b.c "})");
        QTest::newRow("reset password") << ResetPasswordRequest{"tok", "pw"}.toJson()
                                        << QByteArray(R"({"password":"pw","token":"tok"})");
    }
    void requestBodies()
    {
        QFETCH(QJsonObject, written);
        QFETCH(QByteArray, expected);
        QCOMPARE(Json::serialize(written), expected);
    }
};

QTEST_GUILESS_MAIN(tst_AccountRecords)
#include "tst_AccountRecords.moc"
