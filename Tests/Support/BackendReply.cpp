#include "BackendReply.h"

#include "Utils/Json.h"

#include <QJsonObject>

BackendReply BackendReply::json(int status, const QJsonValue &value)
{
    return BackendReply{status, Json::serialize(value), "application/json", false, 0};
}

BackendReply BackendReply::message(int status, const QString &text)
{
    return json(status, QJsonObject{{QStringLiteral("message"), text}});
}

BackendReply BackendReply::raw(int status, QByteArray body, QByteArray contentType)
{
    return BackendReply{status, std::move(body), std::move(contentType), false, 0};
}

BackendReply BackendReply::empty(int status)
{
    return BackendReply{status, {}, {}, false, 0};
}

BackendReply BackendReply::silence()
{
    return BackendReply{0, {}, {}, true, 0};
}

BackendReply BackendReply::after(int milliseconds) const
{
    BackendReply delayed = *this;
    delayed.delayMs = milliseconds;
    return delayed;
}
