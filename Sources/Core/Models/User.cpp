#include "User.h"

#include "Utils/JsonReader.h"
#include "Utils/JsonWriter.h"

User User::fromJson(const QJsonValue &value, const JsonPath &path)
{
    const JsonReader reader(value, path);
    User user;
    user.id = reader.requiredString(QStringLiteral("id"));
    user.email = reader.requiredString(QStringLiteral("email"));
    user.firstName = reader.optionalString(QStringLiteral("firstName"));
    user.lastName = reader.optionalString(QStringLiteral("lastName"));
    user.createdAt = reader.optionalString(QStringLiteral("createdAt"));
    user.updatedAt = reader.optionalString(QStringLiteral("updatedAt"));
    return user;
}

QJsonObject User::toJson(const JsonPath &path) const
{
    return JsonWriter(path)
        .set(QStringLiteral("id"), id)
        .set(QStringLiteral("email"), email)
        .set(QStringLiteral("firstName"), firstName)
        .set(QStringLiteral("lastName"), lastName)
        .set(QStringLiteral("createdAt"), createdAt)
        .set(QStringLiteral("updatedAt"), updatedAt)
        .object();
}
