#pragma once

#include "JsonReader.h"

#include <QString>
#include <optional>

// Lenient reading shared by payment and analytics records, whose backend sends numbers as texts
// (with a decimal comma) and dates as seconds since 2001-01-01T00:00:00Z.
namespace APIDecoding {

// A JSON number, or a JSON string that with every "," read as "." is one whole C-locale number
// with no blanks in front. Anything else, a missing key or null included, throws DecodingError
// (data corrupted, "Expected Double or numeric String for <key>"). Non-finite results
// ("inf", "nan", "1e999") are refused: they could never be written back.
double decodeDouble(const JsonReader &from, const QString &key);

// A JSON string as is, or a JSON number of seconds since 2001-01-01T00:00:00Z written as
// "yyyy-MM-ddTHH:mm:ssZ" (fraction of a second cut off). Anything else, a missing key, null,
// a non-finite number or an instant outside the years 0001-9999 included, throws DecodingError
// (data corrupted, "Expected date string for <key>").
QString decodeDateString(const JsonReader &from, const QString &key);

// The number rule on bare text; no value when the text is refused.
std::optional<double> parseLenientNumber(const QString &text);

// The date rule on a bare number of seconds; no value when it is no writable instant.
std::optional<QString> dateStringFromReferenceSeconds(double sinceReference);

} // namespace APIDecoding
