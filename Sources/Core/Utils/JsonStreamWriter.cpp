#include "JsonStreamWriter.h"

#include "Json.h"
#include "JsonWriter.h"

#include <QLocale>
#include <cmath>

namespace {

char hexDigit(uint value)
{
    return "0123456789abcdef"[value & 0xf];
}

void appendUnicodeEscape(QByteArray &out, char16_t unit)
{
    const char escape[] = {'\\', 'u', hexDigit(unit >> 12), hexDigit(unit >> 8), hexDigit(unit >> 4), hexDigit(unit)};
    out.append(escape, sizeof escape);
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
    m_out.append(QByteArray::number(value));
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
    out.append('"');
    const char16_t *it = reinterpret_cast<const char16_t *>(value.constData());
    const char16_t *const end = it + value.size();
    while (it != end) {
        // Runs of plain ASCII go in one piece.
        const char16_t *run = it;
        while (it != end && *it < 0x80 && *it >= 0x20 && *it != u'"' && *it != u'\\')
            ++it;
        if (it != run) {
            const qsizetype start = out.size();
            out.resize(start + (it - run));
            char *dst = out.data() + start;
            for (const char16_t *c = run; c != it; ++c)
                *dst++ = char(*c);
        }
        if (it == end)
            break;
        const char16_t unit = *it;
        if (unit < 0x80) {
            out.append('\\');
            switch (unit) {
            case u'"': out.append('"'); break;
            case u'\\': out.append('\\'); break;
            case u'\b': out.append('b'); break;
            case u'\f': out.append('f'); break;
            case u'\n': out.append('n'); break;
            case u'\r': out.append('r'); break;
            case u'\t': out.append('t'); break;
            default:
                out.append("u00", 3).append(hexDigit(unit >> 4)).append(hexDigit(unit));
                break;
            }
            ++it;
        } else if (unit < 0x800) {
            out.append(char(0xc0 | (unit >> 6))).append(char(0x80 | (unit & 0x3f)));
            ++it;
        } else if (QChar::isHighSurrogate(unit) && it + 1 != end && QChar::isLowSurrogate(it[1])) {
            const char32_t ucs = QChar::surrogateToUcs4(unit, it[1]);
            out.append(char(0xf0 | (ucs >> 18)))
                .append(char(0x80 | ((ucs >> 12) & 0x3f)))
                .append(char(0x80 | ((ucs >> 6) & 0x3f)))
                .append(char(0x80 | (ucs & 0x3f)));
            it += 2;
        } else if (QChar::isSurrogate(unit)) {
            // A lone half of a pair has no UTF-8 form; Qt writes it as an escape.
            appendUnicodeEscape(out, unit);
            ++it;
        } else {
            out.append(char(0xe0 | (unit >> 12))).append(char(0x80 | ((unit >> 6) & 0x3f))).append(char(0x80 | (unit & 0x3f)));
            ++it;
        }
    }
    out.append('"');
}

void JsonStreamWriter::appendNumber(QByteArray &out, double value)
{
    if (std::trunc(value) != value) {
        out.append(QByteArray::number(value, 'g', QLocale::FloatingPointShortest));
    } else if (std::fabs(value) < 9007199254740992.0) {
        // Whole numbers below 2^53 are written as integers.
        out.append(QByteArray::number(qint64(value)));
    } else {
        // Beyond that Qt's spelling has its own turns; rare enough to ask Qt itself.
        out.append(Json::serialize(QJsonValue(value)));
    }
}
