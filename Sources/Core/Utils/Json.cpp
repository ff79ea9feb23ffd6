#include "Json.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

namespace Json {

QJsonValue parse(const QByteArray &bytes)
{
    // Objects and arrays, nearly every text read, parse as they are: taking the one element out
    // of a wrapping array costs as much again as the parse.
    QJsonParseError directError{};
    const QJsonDocument direct = QJsonDocument::fromJson(bytes, &directError);
    if (directError.error == QJsonParseError::NoError) {
        if (direct.isObject())
            return direct.object();
        if (direct.isArray())
            return direct.array();
    }
    // Wrapping in an array lets QJsonDocument read scalars at the top level; exactly one element
    // must come out, so "1,2" is still rejected.
    QByteArray wrapped;
    wrapped.reserve(bytes.size() + 2);
    wrapped.append('[').append(bytes).append(']');
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(wrapped, &error);
    if (error.error != QJsonParseError::NoError || !doc.isArray() || doc.array().size() != 1) {
        const QString reason = error.error != QJsonParseError::NoError ? error.errorString()
                                                                       : QStringLiteral("not exactly one JSON value");
        throw DecodingError(DecodingError::Kind::DataCorrupted, {},
                            QStringLiteral("The given data was not valid JSON (%1).").arg(reason));
    }
    return doc.array().at(0);
}

QByteArray serialize(const QJsonValue &value)
{
    if (value.isObject())
        return QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact);
    if (value.isArray())
        return QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact);
    QByteArray wrapped = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return wrapped.mid(1, wrapped.size() - 2);
}

} // namespace Json
