#include "JsonPath.h"

QString JsonPath::toString() const
{
    QString out;
    appendTo(out);
    return out;
}

void JsonPath::appendTo(QString &out) const
{
    if (!m_parent) {
        out += m_text;
        return;
    }
    m_parent->appendTo(out);
    if (m_index >= 0) {
        out += QLatin1Char('[') + QString::number(m_index) + QLatin1Char(']');
        return;
    }
    if (!out.isEmpty())
        out += QLatin1Char('.');
    out += m_key;
    out += m_latin1Key;
}
