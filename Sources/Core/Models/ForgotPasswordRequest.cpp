#include "ForgotPasswordRequest.h"

#include "Utils/JsonWriter.h"

QJsonObject ForgotPasswordRequest::toJson(const QString &path) const
{
    return JsonWriter(path).set(QStringLiteral("email"), email).object();
}
