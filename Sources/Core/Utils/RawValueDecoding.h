#pragma once

#include "DecodingError.h"
#include "JsonReader.h"

#include <QJsonValue>
#include <QString>

// Shared strict reading of an enumeration from its raw text: a string, matched exactly.
namespace RawValueDecoding {

template<typename FromRaw>
auto decode(const QJsonValue &value, const JsonPath &path, const char *typeName, FromRaw fromRaw) ->
    typename decltype(fromRaw(QString()))::value_type
{
    if (!value.isString())
        throw JsonReader::mismatch(path, "String", value);
    const QString raw = value.toString();
    if (const auto parsed = fromRaw(raw))
        return *parsed;
    throw DecodingError(
        DecodingError::Kind::DataCorrupted, path.toString(),
        QStringLiteral("Cannot initialize %1 from invalid String value %2").arg(QLatin1String(typeName), raw));
}

} // namespace RawValueDecoding
