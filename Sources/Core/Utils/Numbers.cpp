#include "Numbers.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Numbers {

std::optional<qint64> truncatedInt64(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double whole = std::trunc(value);
    // 2^63 is exact as a double; the range is [-2^63, 2^63).
    if (whole < -9223372036854775808.0 || whole >= 9223372036854775808.0)
        return std::nullopt;
    return static_cast<qint64>(whole);
}

double roundedToCents(double value)
{
    const double scaled = value * 100.0;
    // Beyond 2^52 cents a double holds no fraction of a cent; scaling could also overflow.
    if (!std::isfinite(scaled) || std::fabs(scaled) >= 4503599627370496.0)
        return value;
    return std::round(scaled) / 100.0;
}

double plotted(double value)
{
    if (std::isnan(value))
        return 0;
    return std::clamp(value, std::numeric_limits<double>::lowest(), std::numeric_limits<double>::max());
}

} // namespace Numbers
