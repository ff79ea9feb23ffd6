#pragma once

#include "EncodingError.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <optional>

// Builds one JSON object field by field. Absent optionals are left out; a number that is not
// finite throws EncodingError instead of silently becoming null.
class JsonWriter
{
public:
    explicit JsonWriter(QString path = {}) : m_path(std::move(path)) {}

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

    // write(const T &, const QString &path) -> QJsonValue
    template<typename T, typename Write>
    JsonWriter &setList(const QString &key, const QList<T> &list, Write write)
    {
        QJsonArray array;
        for (qsizetype i = 0; i < list.size(); ++i)
            array.append(write(list.at(i), QStringLiteral("%1[%2]").arg(pathOf(key)).arg(i)));
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

    QString pathOf(const QString &key) const;
    const QJsonObject &object() const { return m_object; }

    // The number as a JSON value, or EncodingError at path when it is NaN or infinite.
    static QJsonValue number(double value, const QString &path);

private:
    QJsonObject m_object;
    QString m_path;
};
