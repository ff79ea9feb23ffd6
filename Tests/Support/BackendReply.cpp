#include "BackendReply.h"

#include "Utils/Json.h"

#include <QJsonObject>

BackendReply BackendReply::json(int status, const QJsonValue &value)
{
    return BackendReply{status, Json::serialize(value), "application/json", false};
}

BackendReply BackendReply::message(int status, const QString &text)
{
    return json(status, QJsonObject{{QStringLiteral("message"), text}});
}

BackendReply BackendReply::raw(int status, QByteArray body, QByteArray contentType)
{
    return BackendReply{status, std::move(body), std::move(contentType), false};
}

BackendReply BackendReply::empty(int status)
{
    return BackendReply{status, {}, {}, false};
}

BackendReply BackendReply::silence()
{
    return BackendReply{0, {}, {}, true};
}
