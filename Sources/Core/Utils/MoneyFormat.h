#pragma once

#include <QString>

namespace MoneyFormat {

// The amount in the "ru_RU" currency style, in whole currency units rounded half to even:
// digit groups split by U+00A0 and the currency's sign after the amount ("1 234 568 ₽").
// When the formatter refuses the currency, the whole-number part (toward zero), a space and the
// code as given. A value that is not finite gives NumberText::notFiniteText() alone; an amount
// that rounds to zero shows without a minus sign. Thread-safe; one formatter is kept per currency.
QString format(double value, const QString &currency);

} // namespace MoneyFormat
