#pragma once

#include "JsonPath.h"

#include <QByteArray>
#include <QLatin1StringView>
#include <QList>
#include <QString>
#include <optional>

// Writes one JSON object straight into compact text, byte for byte as Json::serialize writes the
// same object built with JsonWriter: keys must come in the order QJsonObject keeps them (sorted),
// texts are escaped and numbers spelled as Qt does. For hot paths (the device store's writes)
// where building a QJsonObject first costs more than the write itself. Non-finite numbers throw
// EncodingError as JsonWriter does.
class JsonStreamWriter
{
public:
    // Opens the object at the end of out; finish() closes it.
    explicit JsonStreamWriter(QByteArray &out, const JsonPath &path = {});

    JsonStreamWriter &set(QLatin1StringView key, const QString &value);
    JsonStreamWriter &set(QLatin1StringView key, double value);
    JsonStreamWriter &set(QLatin1StringView key, qint64 value);
    JsonStreamWriter &set(QLatin1StringView key, bool value);

    template<typename T>
    JsonStreamWriter &set(QLatin1StringView key, const std::optional<T> &value)
    {
        if (value)
            set(key, *value);
        return *this;
    }

    // write(const T &, QByteArray &out, const JsonPath &path) writes one element.
    template<typename T, typename Write>
    JsonStreamWriter &setList(QLatin1StringView key, const QList<T> &list, Write write)
    {
        writeKey(key);
        const JsonPath listPath = m_path.key(key);
        m_out.append('[');
        for (qsizetype i = 0; i < list.size(); ++i) {
            if (i > 0)
                m_out.append(',');
            write(list.at(i), m_out, listPath.index(i));
        }
        m_out.append(']');
        return *this;
    }

    void finish() { m_out.append('}'); }

    // value as a JSON string, escaped as Qt's JSON writer escapes it.
    static void appendString(QByteArray &out, const QString &value);
    // value as Qt's JSON writer spells it.
    static void appendNumber(QByteArray &out, double value);

private:
    void writeKey(QLatin1StringView key);

    QByteArray &m_out;
    JsonPath m_path;
    bool m_first = true;
#ifndef QT_NO_DEBUG
    QLatin1StringView m_lastKey;
#endif
};
