#include "JsonReader.h"

#include <cmath>

JsonReader::JsonReader(const QJsonValue &value, QString path)
    : m_path(std::move(path))
{
    if (!value.isObject())
        throw mismatch(m_path, "dictionary", value);
    m_object = value.toObject();
}

QString JsonReader::pathOf(const QString &key) const
{
    return m_path.isEmpty() ? key : m_path + QLatin1Char('.') + key;
}

bool JsonReader::isAbsent(const QString &key) const
{
    const QJsonValue v = m_object.value(key);
    return v.isUndefined() || v.isNull();
}

QString JsonReader::kindName(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Null: return QStringLiteral("null");
    case QJsonValue::Bool: return QStringLiteral("bool");
    case QJsonValue::Double: return QStringLiteral("number");
    case QJsonValue::String: return QStringLiteral("string");
    case QJsonValue::Array: return QStringLiteral("array");
    case QJsonValue::Object: return QStringLiteral("dictionary");
    case QJsonValue::Undefined: break;
    }
    return QStringLiteral("nothing");
}

DecodingError JsonReader::mismatch(const QString &path, const char *expected, const QJsonValue &found)
{
    if (found.isNull() || found.isUndefined())
        return DecodingError(DecodingError::Kind::ValueNotFound, path,
                             QStringLiteral("Expected %1 value but found null instead.").arg(QLatin1String(expected)));
    return DecodingError(DecodingError::Kind::TypeMismatch, path,
                         QStringLiteral("Expected to decode %1 but found %2 instead.")
                             .arg(QLatin1String(expected), kindName(found)));
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
        throw mismatch(pathOf(key), expected, value);
    return value;
}

QString JsonReader::requiredString(const QString &key) const
{
    return requiredValue(key, QJsonValue::String, "String").toString();
}

std::optional<QString> JsonReader::optionalString(const QString &key) const
{
    if (isAbsent(key))
        return std::nullopt;
    const QJsonValue value = m_object.value(key);
    if (!value.isString())
        throw mismatch(pathOf(key), "String", value);
    return value.toString();
}

double JsonReader::requiredDouble(const QString &key) const
{
    return requiredValue(key, QJsonValue::Double, "Double").toDouble();
}

std::optional<double> JsonReader::optionalDouble(const QString &key) const
{
    if (isAbsent(key))
        return std::nullopt;
    const QJsonValue value = m_object.value(key);
    if (!value.isDouble())
        throw mismatch(pathOf(key), "Double", value);
    return value.toDouble();
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
    return requiredValue(key, QJsonValue::Bool, "Bool").toBool();
}

std::optional<bool> JsonReader::optionalBool(const QString &key) const
{
    if (isAbsent(key))
        return std::nullopt;
    const QJsonValue value = m_object.value(key);
    if (!value.isBool())
        throw mismatch(pathOf(key), "Bool", value);
    return value.toBool();
}
