#include "APIDecoding.h"

#include <QByteArray>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <locale.h>

namespace {

// strtod follows LC_NUMERIC, which QCoreApplication sets from the environment; the backend's
// texts are read in the C locale whatever the user's is.
locale_t cLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return locale;
}

bool isCSpace(QChar c)
{
    switch (c.unicode()) {
    case ' ':
    case '\t':
    case '\n':
    case '\v':
    case '\f':
    case '\r':
        return true;
    default:
        return false;
    }
}

// 2001-01-01T00:00:00Z in seconds since 1970.
constexpr qint64 referenceEpoch = 978307200;
// 0001-01-01T00:00:00Z and 9999-12-31T23:59:59Z in seconds since 1970: the years that
// four-digit ISO-8601 text can hold.
constexpr qint64 earliestUnix = -62135596800;
constexpr qint64 latestUnix = 253402300799;

DecodingError corrupted(const JsonReader &from, const QString &key, const char *expected)
{
    return DecodingError(DecodingError::Kind::DataCorrupted, from.pathOf(key), QLatin1String(expected) + key);
}

} // namespace

namespace APIDecoding {

std::optional<double> parseLenientNumber(const QString &text)
{
    if (text.isEmpty() || isCSpace(text.front()))
        return std::nullopt;
    QString dotted = text;
    dotted.replace(QLatin1Char(','), QLatin1Char('.'));
    // Anything outside ASCII stops strtod early and so fails the whole-text check; an embedded
    // NUL does too, since the end is measured against the byte count, not strlen.
    const QByteArray bytes = dotted.toUtf8();
    const char *begin = bytes.constData();
    char *end = nullptr;
    const double value = strtod_l(begin, &end, cLocale());
    if (end != begin + bytes.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<QString> dateStringFromReferenceSeconds(double sinceReference)
{
    if (!std::isfinite(sinceReference))
        return std::nullopt;
    // Whole seconds by flooring: the text names the second the instant falls in, before and
    // after the reference date alike. Range is checked on the double, before any conversion.
    const double whole = std::floor(sinceReference) + double(referenceEpoch);
    if (whole < double(earliestUnix) || whole > double(latestUnix))
        return std::nullopt;
    const auto unixSeconds = static_cast<qint64>(whole);

    using namespace std::chrono;
    const sys_seconds instant{std::chrono::seconds(unixSeconds)};
    const sys_days day = floor<days>(instant);
    const year_month_day date{day};
    const hh_mm_ss<std::chrono::seconds> time{instant - day};
    return QString::asprintf("%04d-%02u-%02uT%02d:%02d:%02dZ", int(date.year()), unsigned(date.month()),
                             unsigned(date.day()), int(time.hours().count()), int(time.minutes().count()),
                             int(time.seconds().count()));
}

double decodeDouble(const JsonReader &from, const QString &key)
{
    const QJsonValue value = from.object().value(key);
    // Qt's parser refuses out-of-range numbers, but a value built in code may still hold one.
    if (value.isDouble() && std::isfinite(value.toDouble()))
        return value.toDouble();
    if (value.isString()) {
        if (const auto number = parseLenientNumber(value.toString()))
            return *number;
    }
    throw corrupted(from, key, "Expected Double or numeric String for ");
}

QString decodeDateString(const JsonReader &from, const QString &key)
{
    const QJsonValue value = from.object().value(key);
    if (value.isString())
        return value.toString();
    if (value.isDouble()) {
        if (auto text = dateStringFromReferenceSeconds(value.toDouble()))
            return *std::move(text);
    }
    throw corrupted(from, key, "Expected date string for ");
}

} // namespace APIDecoding
