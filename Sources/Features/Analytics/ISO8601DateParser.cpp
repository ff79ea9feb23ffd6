#include "ISO8601DateParser.h"

#include <QTime>

namespace ISO8601DateParser {

namespace {

// count ASCII digits at from as a number, or -1.
int digits(QStringView text, qsizetype from, qsizetype count)
{
    if (from + count > text.size())
        return -1;
    int value = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

bool isChar(QStringView text, qsizetype at, char16_t c)
{
    return at < text.size() && text.at(at).unicode() == c;
}

std::optional<QDate> dateAt(QStringView text)
{
    const int year = digits(text, 0, 4);
    const int month = digits(text, 5, 2);
    const int day = digits(text, 8, 2);
    if (year < 0 || month < 0 || day < 0 || !isChar(text, 4, u'-') || !isChar(text, 7, u'-'))
        return std::nullopt;
    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

// "YYYY-MM-DDThh:mm:ss", then fractional seconds when withFraction (at least one digit), then
// "Z" or "+hh:mm" / "-hh:mm", and nothing after.
std::optional<QDateTime> dateTime(QStringView text, bool withFraction)
{
    const std::optional<QDate> date = dateAt(text);
    if (!date || !isChar(text, 10, u'T'))
        return std::nullopt;
    const int hour = digits(text, 11, 2);
    const int minute = digits(text, 14, 2);
    const int second = digits(text, 17, 2);
    if (hour < 0 || minute < 0 || second < 0 || !isChar(text, 13, u':') || !isChar(text, 16, u':'))
        return std::nullopt;
    const QTime time(hour, minute, second);
    if (!time.isValid())
        return std::nullopt;
    qsizetype at = 19;
    int msecs = 0;
    if (withFraction) {
        if (!isChar(text, at, u'.'))
            return std::nullopt;
        ++at;
        const qsizetype first = at;
        int scale = 100;
        while (at < text.size() && text.at(at).unicode() >= u'0' && text.at(at).unicode() <= u'9') {
            msecs += (text.at(at).unicode() - u'0') * scale;
            scale /= 10;
            ++at;
        }
        if (at == first)
            return std::nullopt;
    }
    int offsetSeconds = 0;
    if (isChar(text, at, u'Z')) {
        ++at;
    } else if (isChar(text, at, u'+') || isChar(text, at, u'-')) {
        const int sign = isChar(text, at, u'-') ? -1 : 1;
        const int offsetHours = digits(text, at + 1, 2);
        const int offsetMinutes = digits(text, at + 4, 2);
        if (offsetHours < 0 || offsetMinutes < 0 || !isChar(text, at + 3, u':') || offsetHours > 23
            || offsetMinutes > 59)
            return std::nullopt;
        offsetSeconds = sign * (offsetHours * 3600 + offsetMinutes * 60);
        at += 6;
    } else {
        return std::nullopt;
    }
    if (at != text.size())
        return std::nullopt;
    const QDateTime utc(*date, time.addMSecs(msecs), Qt::UTC);
    return utc.addSecs(-offsetSeconds);
}

} // namespace

std::optional<Parsed> parse(QStringView text)
{
    if (std::optional<QDateTime> at = dateTime(text, true))
        return Parsed{*at, std::nullopt};
    if (std::optional<QDateTime> at = dateTime(text, false))
        return Parsed{*at, std::nullopt};
    if (text.size() == 10) {
        if (std::optional<QDate> date = dateAt(text))
            return Parsed{QDateTime(*date, QTime(0, 0), Qt::UTC), date};
    }
    return std::nullopt;
}

std::optional<QDateTime> instant(QStringView text)
{
    if (std::optional<Parsed> parsed = parse(text))
        return parsed->instant;
    return std::nullopt;
}

} // namespace ISO8601DateParser
