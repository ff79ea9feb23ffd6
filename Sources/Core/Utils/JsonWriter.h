#pragma once

#include "EncodingError.h"
#include "JsonPath.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <optional>
#include <type_traits>

// Builds one JSON object field by field. Absent optionals are left out; a number that is not
// finite throws EncodingError instead of silently becoming null.
class JsonWriter
{
public:
    explicit JsonWriter(const JsonPath &path = {})
        : m_path(path)
    {
    }

    JsonWriter &set(const QString &key, const QString &value);
    JsonWriter &set(const QString &key, double value);
    JsonWriter &set(const QString &key, qint64 value);
    JsonWriter &set(const QString &key, bool value);
    JsonWriter &set(const QString &key, const QJsonValue &value);
    JsonWriter &set(const QString &key, const char *) = delete; // use QStringLiteral

    template<typename T>
    JsonWriter &set(const QString &key, const std::optional<T> &value)
    {
        if (value)
            set(key, *value);
        return *this;
    }

    // write(const T &, const JsonPath &path) -> QJsonValue
    template<typename T, typename Write>
    JsonWriter &setList(const QString &key, const QList<T> &list, Write write)
    {
        const JsonPath listPath = m_path.key(key);
        QJsonArray array;
        for (qsizetype i = 0; i < list.size(); ++i) {
            if constexpr (std::is_invocable_v<Write &, const T &, const JsonPath &>)
                array.append(write(list.at(i), listPath.index(i)));
            else // a writer that still takes the path as text
                array.append(write(list.at(i), listPath.index(i).toString()));
        }
        m_object.insert(key, array);
        return *this;
    }
    template<typename T, typename Write>
    JsonWriter &setList(const QString &key, const std::optional<QList<T>> &list, Write write)
    {
        if (list)
            setList(key, *list, write);
        return *this;
    }

    const JsonPath &path() const { return m_path; }
    QString pathOf(const QString &key) const { return m_path.key(key).toString(); }
    const QJsonObject &object() const { return m_object; }

    // The number as a JSON value, or EncodingError at path when it is NaN or infinite.
    static QJsonValue number(double value, const JsonPath &path);

private:
    QJsonObject m_object;
    JsonPath m_path;
};
