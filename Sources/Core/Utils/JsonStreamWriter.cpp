#include "JsonStreamWriter.h"

#include "Json.h"
#include "JsonWriter.h"

#include <QLocale>
#include <charconv>
#include <cmath>

namespace {

char hexDigit(uint value)
{
    return "0123456789abcdef"[value & 0xf];
}

void appendInteger(QByteArray &out, qint64 value)
{
    char digits[24];
    const auto written = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, written.ptr - digits);
}

} // namespace

JsonStreamWriter::JsonStreamWriter(QByteArray &out, const JsonPath &path)
    : m_out(out)
    , m_path(path)
{
    m_out.append('{');
}

void JsonStreamWriter::writeKey(QLatin1StringView key)
{
#ifndef QT_NO_DEBUG
    Q_ASSERT_X(m_first || m_lastKey < key, "JsonStreamWriter", "keys must come in sorted order");
    m_lastKey = key;
#endif
    if (!m_first)
        m_out.append(',');
    m_first = false;
    // Keys are plain identifiers: nothing to escape.
    m_out.append('"').append(key.data(), key.size()).append("\":", 2);
}

JsonStreamWriter &JsonStreamWriter::set(QLatin1StringView key, const QString &value)
{
    writeKey(key);
    appendString(m_out, value);
    return *this;
}

JsonStreamWriter &JsonStreamWriter::set(QLatin1StringView key, double value)
{
    if (!std::isfinite(value))
        JsonWriter::number(value, m_path.key(key)); // throws
    writeKey(key);
    appendNumber(m_out, value);
    return *this;
}

JsonStreamWriter &JsonStreamWriter::set(QLatin1StringView key, qint64 value)
{
    writeKey(key);
    appendInteger(m_out, value);
    return *this;
}

JsonStreamWriter &JsonStreamWriter::set(QLatin1StringView key, bool value)
{
    writeKey(key);
    if (value)
        m_out.append("true", 4);
    else
        m_out.append("false", 5);
    return *this;
}

void JsonStreamWriter::appendString(QByteArray &out, const QString &value)
{
    // Room for the worst case (every unit a six-byte escape), written in place, then trimmed.
    const qsizetype start = out.size();
    out.resize(start + 2 + value.size() * 6);
    char *const begin = out.data();
    char *dst = begin + start;
    *dst++ = '"';
    const char16_t *it = reinterpret_cast<const char16_t *>(value.constData());
    const char16_t *const end = it + value.size();
    while (it != end) {
        const char16_t unit = *it++;
        if (unit < 0x80) {
            if (unit >= 0x20 && unit != u'"' && unit != u'\\') {
                *dst++ = char(unit);
                continue;
            }
            *dst++ = '\\';
            switch (unit) {
            case u'"':
                *dst++ = '"';
                break;
            case u'\\':
                *dst++ = '\\';
                break;
            case u'\b':
                *dst++ = 'b';
                break;
            case u'\f':
                *dst++ = 'f';
                break;
            case u'\n':
                *dst++ = 'n';
                break;
            case u'\r':
                *dst++ = 'r';
                break;
            case u'\t':
                *dst++ = 't';
                break;
            default:
                *dst++ = 'u';
                *dst++ = '0';
                *dst++ = '0';
                *dst++ = hexDigit(unit >> 4);
                *dst++ = hexDigit(unit);
                break;
            }
        } else if (unit < 0x800) {
            *dst++ = char(0xc0 | (unit >> 6));
            *dst++ = char(0x80 | (unit & 0x3f));
        } else if (QChar::isHighSurrogate(unit) && it != end && QChar::isLowSurrogate(*it)) {
            const char32_t ucs = QChar::surrogateToUcs4(unit, *it++);
            *dst++ = char(0xf0 | (ucs >> 18));
            *dst++ = char(0x80 | ((ucs >> 12) & 0x3f));
            *dst++ = char(0x80 | ((ucs >> 6) & 0x3f));
            *dst++ = char(0x80 | (ucs & 0x3f));
        } else if (QChar::isSurrogate(unit)) {
            // A lone half of a pair has no UTF-8 form; Qt writes it as an escape.
            *dst++ = '\\';
            *dst++ = 'u';
            *dst++ = hexDigit(unit >> 12);
            *dst++ = hexDigit(unit >> 8);
            *dst++ = hexDigit(unit >> 4);
            *dst++ = hexDigit(unit);
        } else {
            *dst++ = char(0xe0 | (unit >> 12));
            *dst++ = char(0x80 | ((unit >> 6) & 0x3f));
            *dst++ = char(0x80 | (unit & 0x3f));
        }
    }
    *dst++ = '"';
    out.resize(dst - begin);
}

void JsonStreamWriter::appendNumber(QByteArray &out, double value)
{
    if (std::trunc(value) != value) {
        out.append(QByteArray::number(value, 'g', QLocale::FloatingPointShortest));
    } else if (std::fabs(value) < 9007199254740992.0) {
        // Whole numbers below 2^53 are written as integers.
        appendInteger(out, qint64(value));
    } else {
        // Beyond that Qt's spelling has its own turns; rare enough to ask Qt itself.
        out.append(Json::serialize(QJsonValue(value)));
    }
}
