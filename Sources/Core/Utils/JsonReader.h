#pragma once

#include "DecodingError.h"
#include "JsonPath.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>
#include <optional>
#include <type_traits>

// Strict reading of one JSON object: kinds are checked, a missing key or null reads as absent for
// optionals, unknown keys are ignored. Every failure throws DecodingError with the value's path.
class JsonReader
{
public:
    // Fails with a type mismatch unless value is an object.
    JsonReader(const QJsonValue &value, const JsonPath &path = {});

    const QJsonObject &object() const { return m_object; }
    const JsonPath &path() const { return m_path; }
    QString pathOf(const QString &key) const { return m_path.key(key).toString(); }
    bool isAbsent(const QString &key) const; // missing or null

    QString requiredString(const QString &key) const;
    std::optional<QString> optionalString(const QString &key) const;
    double requiredDouble(const QString &key) const;
    std::optional<double> optionalDouble(const QString &key) const;
    qint64 requiredInt(const QString &key) const;
    std::optional<qint64> optionalInt(const QString &key) const;
    bool requiredBool(const QString &key) const;
    std::optional<bool> optionalBool(const QString &key) const;

    // Nested records: read(JsonReader) -> T.
    template<typename T, typename Read>
    T requiredObject(const QString &key, Read read) const
    {
        return read(JsonReader(requiredValue(key, QJsonValue::Object, "dictionary"), m_path.key(key)));
    }
    template<typename T, typename Read>
    std::optional<T> optionalObject(const QString &key, Read read) const
    {
        const QJsonValue value = m_object.value(key);
        if (isAbsent(value))
            return std::nullopt;
        return read(JsonReader(value, m_path.key(key)));
    }
    // A field of any JSON kind, read by read(const QJsonValue &, const JsonPath &) -> T, e.g.
    // an enumeration's raw text. A missing key fails; null is passed on for read to reject.
    template<typename T, typename Read>
    T requiredField(const QString &key, Read read) const
    {
        const auto it = m_object.constFind(key);
        if (it == m_object.constEnd())
            throw keyNotFound(key);
        return readAt(read, it.value(), m_path.key(key));
    }
    template<typename T, typename Read>
    std::optional<T> optionalField(const QString &key, Read read) const
    {
        const QJsonValue value = m_object.value(key);
        if (isAbsent(value))
            return std::nullopt;
        return readAt(read, value, m_path.key(key));
    }
    // Lists: readElement(const QJsonValue &, const JsonPath &) -> T.
    template<typename T, typename Read>
    QList<T> requiredList(const QString &key, Read readElement) const
    {
        return readList<T>(requiredValue(key, QJsonValue::Array, "array"), m_path.key(key), readElement);
    }
    template<typename T, typename Read>
    std::optional<QList<T>> optionalList(const QString &key, Read readElement) const
    {
        const QJsonValue value = m_object.value(key);
        if (isAbsent(value))
            return std::nullopt;
        return readList<T>(value, m_path.key(key), readElement);
    }

    template<typename T, typename Read>
    static QList<T> readList(const QJsonValue &value, const JsonPath &path, Read readElement)
    {
        if (!value.isArray())
            throw mismatch(path, "array", value);
        const QJsonArray array = value.toArray();
        QList<T> out;
        out.reserve(array.size());
        for (qsizetype i = 0; i < array.size(); ++i)
            out.append(readAt(readElement, array.at(i), path.index(i)));
        return out;
    }

    // Whole-number check shared by integer fields: finite, no fraction, within 64 bits.
    static std::optional<qint64> wholeNumber(const QJsonValue &value);
    static DecodingError mismatch(const JsonPath &path, const char *expected, const QJsonValue &found);
    static QString kindName(const QJsonValue &value);

private:
    // Readers that still take the path as text get it written out.
    template<typename Read>
    static decltype(auto) readAt(Read &read, const QJsonValue &value, const JsonPath &path)
    {
        if constexpr (std::is_invocable_v<Read &, const QJsonValue &, const JsonPath &>)
            return read(value, path);
        else
            return read(value, path.toString());
    }
    static bool isAbsent(const QJsonValue &value) { return value.isUndefined() || value.isNull(); }
    DecodingError keyNotFound(const QString &key) const;
    QJsonValue requiredValue(const QString &key, QJsonValue::Type type, const char *expected) const;
    // Scalars are read through references into the object: no QJsonValue copy per field.
    QJsonObject::const_iterator requiredRef(const QString &key, QJsonValue::Type type, const char *expected) const;
    // The end iterator when key is missing or null; a value of another kind than type fails.
    QJsonObject::const_iterator optionalRef(const QString &key, QJsonValue::Type type, const char *expected) const;

    QJsonObject m_object;
    JsonPath m_path;
};
