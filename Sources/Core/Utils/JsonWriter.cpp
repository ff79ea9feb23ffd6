#include "JsonWriter.h"

#include <cmath>

QJsonValue JsonWriter::number(double value, const JsonPath &path)
{
    if (!std::isfinite(value))
        throw EncodingError(
            path.toString(),
            QStringLiteral("Unable to encode %1 directly in JSON.")
                .arg(std::isnan(value) ? QStringLiteral("Double.nan") : QStringLiteral("Double.infinity")));
    return QJsonValue(value);
}

JsonWriter &JsonWriter::set(const QString &key, const QString &value)
{
    m_object.insert(key, value);
    return *this;
}

JsonWriter &JsonWriter::set(const QString &key, double value)
{
    if (!std::isfinite(value))
        number(value, m_path.key(key)); // throws
    m_object.insert(key, QJsonValue(value));
    return *this;
}

JsonWriter &JsonWriter::set(const QString &key, qint64 value)
{
    m_object.insert(key, QJsonValue(value));
    return *this;
}

JsonWriter &JsonWriter::set(const QString &key, bool value)
{
    m_object.insert(key, value);
    return *this;
}

JsonWriter &JsonWriter::set(const QString &key, const QJsonValue &value)
{
    m_object.insert(key, value);
    return *this;
}
