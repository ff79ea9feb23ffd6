#pragma once

#include <QDate>
#include <QDateTime>
#include <QStringView>
#include <optional>

// The three date forms payments carry, tried in order: a date-time with fractional seconds
// ("2024-05-01T10:20:30.123Z"), one without them ("2024-05-01T10:20:30+03:00"), and a bare date
// ("2024-05-01"). A date-time must carry "Z" or a "+hh:mm" offset; Qt::ISODate would read a
// missing one as local time.
namespace ISO8601DateParser {

struct Parsed
{
    // The instant in UTC; a bare date stands for midnight UTC of that day.
    QDateTime instant;
    // Set for the bare-date form only: the calendar day as written.
    std::optional<QDate> bareDate;
};

std::optional<Parsed> parse(QStringView text);

// The instant alone.
std::optional<QDateTime> instant(QStringView text);

} // namespace ISO8601DateParser
