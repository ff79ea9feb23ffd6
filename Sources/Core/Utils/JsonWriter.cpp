#include "JsonWriter.h"

#include <cmath>

QString JsonWriter::pathOf(const QString &key) const
{
    return m_path.isEmpty() ? key : m_path + QLatin1Char('.') + key;
}

QJsonValue JsonWriter::number(double value, const QString &path)
{
    if (!std::isfinite(value))
        throw EncodingError(path, QStringLiteral("Unable to encode %1 directly in JSON.")
                                      .arg(std::isnan(value) ? QStringLiteral("Double.nan")
                                                             : QStringLiteral("Double.infinity")));
    return QJsonValue(value);
}

JsonWriter &JsonWriter::set(const QString &key, const QString &value)
{
    m_object.insert(key, value);
    return *this;
}

JsonWriter &JsonWriter::set(const QString &key, double value)
{
    m_object.insert(key, number(value, pathOf(key)));
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
