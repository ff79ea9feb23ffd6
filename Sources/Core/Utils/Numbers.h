#pragma once

#include <QtGlobal>
#include <optional>

// Arithmetic helpers that never invoke undefined behaviour on NaN, infinity or huge values.
namespace Numbers {

// The whole-number part (toward zero) as a 64-bit integer, or nothing when the value is not
// finite or the whole part does not fit.
std::optional<qint64> truncatedInt64(double value);

// Nearest value with two decimals, halves away from zero, computed on the double product
// value * 100 (so 1.005 -> 1.0, 2.675 -> 2.68, 0.125 -> 0.13). Non-finite values pass through.
double roundedToCents(double value);

// The value a chart draws for a figure: a bar or an axis needs a number where a text shows
// NumberText::notFiniteText(). NaN draws as 0, an infinity as the largest finite value of its sign.
double plotted(double value);

} // namespace Numbers
