#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// Number texts that do not depend on the process locale.
namespace NumberText {

// The text of a figure that is not finite, wherever a figure is shown or printed: a value that
// overflowed (a product or sum beyond the largest double) or is not a number has no figure, and
// a total that contains it is not finite either, so it reads the same.
QString notFiniteText();

// As C's printf("%.<decimals>f") in the C locale: the exact binary value rounded, so halves that
// are not exact go their true way (0.25 -> "0.2", 2.5 -> "2", 0.35 -> "0.3"). QString::number
// rounds the decimal text instead and gives "0.3" and "3". A value that rounds to zero has no
// sign (-0.04 -> "0.0", not "-0.0"). A value that is not finite gives notFiniteText().
QString fixed(double value, int decimals);

// Shortest text that reads back as the same double, always with a fractional part in plain
// notation ("50.0", "0.0001", "12.0", "-0.5"); exponent form below 1e-4 and from 2^53 on
// ("1e-05", "1e+16"); "nan", "inf", "-inf" for non-finite values. Zero has no sign: -0 gives
// "0.0", which reads back as a zero all the same.
QString shortest(double value);

// Why a double does not hold a number as it was typed, so that it would be stored and shown as
// another number: its magnitude is beyond 2^53, where not every whole number has a double, or it
// has more significant digits than a double keeps (15 decimal, 53 bits in hexadecimal).
enum class Inexact { TooLarge, TooManyDigits };

// The reason for a text that reads as value (as parseDecimal or the C library reads it, decimal
// or hexadecimal); nothing when the double is the number typed.
std::optional<Inexact> inexactness(QStringView text, double value);

// What a field says under such a number, naming what to change.
QString inexactMessage(Inexact reason);

// Reading of an amount of money typed by hand: parseDecimal, but a text whose value a double does
// not hold exactly (see inexactness) is unreadable; "-0" reads as 0.
std::optional<double> parseExactDecimal(QStringView text);

// Strict decimal reading: the whole text must be one finite number, with "," read as ".", no
// white space, no thousands separator; "inf", "nan" and hexadecimal texts are not numbers.
std::optional<double> parseDecimal(QStringView text);

} // namespace NumberText
