#include "LineCost.h"

namespace LineCost {

namespace {
// Comparisons with NaN are false, so NaN falls to 0 as well.
double nonNegative(double value)
{
    return value >= 0 ? value : 0.0;
}
} // namespace

double clamped(double hours, double rate)
{
    return nonNegative(hours) * nonNegative(rate);
}

double withFallback(double hours, double rate, double defaultRate)
{
    return clamped(hours, rate > 0 ? rate : defaultRate);
}

} // namespace LineCost
