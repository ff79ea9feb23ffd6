#include "JsonReader.h"

#include <cmath>

JsonReader::JsonReader(const QJsonValue &value, const JsonPath &path)
    : m_path(path)
{
    if (!value.isObject())
        throw mismatch(m_path, "dictionary", value);
    m_object = value.toObject();
}

bool JsonReader::isAbsent(const QString &key) const
{
    return isAbsent(m_object.value(key));
}

QString JsonReader::kindName(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Null:
        return QStringLiteral("null");
    case QJsonValue::Bool:
        return QStringLiteral("bool");
    case QJsonValue::Double:
        return QStringLiteral("number");
    case QJsonValue::String:
        return QStringLiteral("string");
    case QJsonValue::Array:
        return QStringLiteral("array");
    case QJsonValue::Object:
        return QStringLiteral("dictionary");
    case QJsonValue::Undefined:
        break;
    }
    return QStringLiteral("nothing");
}

DecodingError JsonReader::mismatch(const JsonPath &path, const char *expected, const QJsonValue &found)
{
    if (found.isNull() || found.isUndefined())
        return DecodingError(DecodingError::Kind::ValueNotFound, path.toString(),
                             QStringLiteral("Expected %1 value but found null instead.").arg(QLatin1String(expected)));
    return DecodingError(
        DecodingError::Kind::TypeMismatch, path.toString(),
        QStringLiteral("Expected to decode %1 but found %2 instead.").arg(QLatin1String(expected), kindName(found)));
}

DecodingError JsonReader::keyNotFound(const QString &key) const
{
    return DecodingError(DecodingError::Kind::KeyNotFound, pathOf(key),
                         QStringLiteral("No value associated with key \"%1\".").arg(key));
}

QJsonValue JsonReader::requiredValue(const QString &key, QJsonValue::Type type, const char *expected) const
{
    const auto it = m_object.constFind(key);
    if (it == m_object.constEnd())
        throw keyNotFound(key);
    const QJsonValue value = it.value();
    if (value.type() != type)
        throw mismatch(m_path.key(key), expected, value);
    return value;
}

QJsonObject::const_iterator JsonReader::requiredRef(const QString &key, QJsonValue::Type type,
                                                    const char *expected) const
{
    const auto it = m_object.constFind(key);
    if (it == m_object.constEnd())
        throw keyNotFound(key);
    if (it->type() != type)
        throw mismatch(m_path.key(key), expected, it.value());
    return it;
}

QJsonObject::const_iterator JsonReader::optionalRef(const QString &key, QJsonValue::Type type,
                                                    const char *expected) const
{
    const auto it = m_object.constFind(key);
    if (it == m_object.constEnd())
        return it;
    const QJsonValue::Type found = it->type();
    if (found == QJsonValue::Null)
        return m_object.constEnd();
    if (found != type)
        throw mismatch(m_path.key(key), expected, it.value());
    return it;
}

QString JsonReader::requiredString(const QString &key) const
{
    return requiredRef(key, QJsonValue::String, "String")->toString();
}

std::optional<QString> JsonReader::optionalString(const QString &key) const
{
    const auto it = optionalRef(key, QJsonValue::String, "String");
    if (it == m_object.constEnd())
        return std::nullopt;
    return it->toString();
}

double JsonReader::requiredDouble(const QString &key) const
{
    return requiredRef(key, QJsonValue::Double, "Double")->toDouble();
}

std::optional<double> JsonReader::optionalDouble(const QString &key) const
{
    const auto it = optionalRef(key, QJsonValue::Double, "Double");
    if (it == m_object.constEnd())
        return std::nullopt;
    return it->toDouble();
}

std::optional<qint64> JsonReader::wholeNumber(const QJsonValue &value)
{
    if (!value.isDouble())
        return std::nullopt;
    // Integers that fit are kept exactly by Qt; anything else arrives as a double.
    const QVariant raw = value.toVariant();
    if (raw.typeId() == QMetaType::LongLong)
        return raw.toLongLong();
    const double d = value.toDouble();
    if (!std::isfinite(d) || std::trunc(d) != d || d < -9223372036854775808.0 || d >= 9223372036854775808.0)
        return std::nullopt;
    return static_cast<qint64>(d);
}

qint64 JsonReader::requiredInt(const QString &key) const
{
    const QJsonValue value = requiredValue(key, QJsonValue::Double, "Int64");
    if (const auto n = wholeNumber(value))
        return *n;
    throw DecodingError(DecodingError::Kind::DataCorrupted, pathOf(key),
                        QStringLiteral("Parsed JSON number <%1> does not fit in Int64.")
                            .arg(QString::number(value.toDouble(), 'g', 17)));
}

std::optional<qint64> JsonReader::optionalInt(const QString &key) const
{
    if (isAbsent(key))
        return std::nullopt;
    return requiredInt(key);
}

bool JsonReader::requiredBool(const QString &key) const
{
    return requiredRef(key, QJsonValue::Bool, "Bool")->toBool();
}

std::optional<bool> JsonReader::optionalBool(const QString &key) const
{
    const auto it = optionalRef(key, QJsonValue::Bool, "Bool");
    if (it == m_object.constEnd())
        return std::nullopt;
    return it->toBool();
}
