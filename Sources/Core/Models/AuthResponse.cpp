#include "AuthResponse.h"

#include "Utils/JsonReader.h"
#include "Utils/JsonWriter.h"

namespace {
const QString tokenKey = QStringLiteral("access_token");
const QString userKey = QStringLiteral("user");
} // namespace

AuthResponse AuthResponse::fromJson(const QJsonValue &value, const JsonPath &path)
{
    const JsonReader reader(value, path);
    AuthResponse response;
    response.accessToken = reader.requiredString(tokenKey);
    response.user = reader.requiredObject<User>(
        userKey, [](const JsonReader &user) { return User::fromJson(user.object(), user.path()); });
    return response;
}

QJsonObject AuthResponse::toJson(const JsonPath &path) const
{
    JsonWriter writer(path);
    writer.set(tokenKey, accessToken).set(userKey, QJsonValue(user.toJson(writer.path().key(userKey))));
    return writer.object();
}
