#include "RecordedRequest.h"

#include "Utils/Json.h"

#include <QUrl>

QJsonValue RecordedRequest::json() const
{
    try {
        return Json::parse(body);
    } catch (const DecodingError &) {
        return QJsonValue(QJsonValue::Undefined);
    }
}

std::optional<QString> RecordedRequest::queryItem(const QString &name) const
{
    if (query.isEmpty())
        return std::nullopt;
    for (const QString &item : query.split(QLatin1Char('&'))) {
        const qsizetype equals = item.indexOf(QLatin1Char('='));
        const QString key = QUrl::fromPercentEncoding(item.left(equals < 0 ? item.size() : equals).toUtf8());
        if (key == name)
            return equals < 0 ? QString() : QUrl::fromPercentEncoding(item.mid(equals + 1).toUtf8());
    }
    return std::nullopt;
}
