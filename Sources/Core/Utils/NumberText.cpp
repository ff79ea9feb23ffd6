#include "NumberText.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace NumberText {

QString notFiniteText()
{
    return QStringLiteral("—");
}

QString fixed(double value, int decimals)
{
    if (!std::isfinite(value))
        return notFiniteText();
    char buffer[400]; // a finite double has at most 309 integer digits
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed,
                                      decimals < 0 ? 0 : (decimals > 60 ? 60 : decimals));
    if (result.ec != std::errc())
        return {};
    // A negative value that rounds to zero ("-0.0", "-0") shows as zero, without a sign.
    const char *digits = buffer[0] == '-' ? buffer + 1 : buffer;
    if (digits != buffer
        && std::all_of(digits, static_cast<const char *>(result.ptr), [](char c) { return c == '0' || c == '.'; }))
        return QString::fromLatin1(digits, result.ptr - digits);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

QString shortest(double value)
{
    if (std::isnan(value))
        return QStringLiteral("nan");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-inf") : QStringLiteral("inf");

    // Shortest round-trip digits and exponent first, then laid out by hand.
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    const std::string text(buffer, result.ptr);
    const std::size_t e = text.find('e');
    std::string mantissa = text.substr(0, e);
    const int exponent = std::stoi(text.substr(e + 1));
    const bool negative = !mantissa.empty() && mantissa.front() == '-';
    if (negative)
        mantissa.erase(0, 1);
    std::string digits;
    for (const char c : mantissa) {
        if (c != '.')
            digits.push_back(c);
    }

    const double magnitude = std::fabs(value);
    std::string out = negative && magnitude != 0.0 ? "-" : "";
    if (magnitude == 0.0 || (magnitude >= 1e-4 && magnitude < 9007199254740992.0)) {
        if (exponent >= 0) {
            const std::size_t integerDigits = static_cast<std::size_t>(exponent) + 1;
            if (digits.size() <= integerDigits) {
                out += digits + std::string(integerDigits - digits.size(), '0') + ".0";
            } else {
                out += digits.substr(0, integerDigits) + '.' + digits.substr(integerDigits);
            }
        } else {
            out += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
        }
    } else {
        out += digits.substr(0, 1);
        if (digits.size() > 1)
            out += '.' + digits.substr(1);
        const int absExponent = exponent < 0 ? -exponent : exponent;
        out += exponent < 0 ? "e-" : "e+";
        if (absExponent < 10)
            out += '0';
        out += std::to_string(absExponent);
    }
    return QString::fromLatin1(out.data(), static_cast<qsizetype>(out.size()));
}

std::optional<Inexact> inexactness(QStringView text, double value)
{
    // 2^53: beyond it not every whole number has a double.
    if (std::fabs(value) > 9007199254740992.0)
        return Inexact::TooLarge;
    QStringView mantissa = text;
    if (!mantissa.isEmpty() && (mantissa.front() == u'+' || mantissa.front() == u'-'))
        mantissa = mantissa.sliced(1);
    const bool hexadecimal =
        mantissa.size() > 1 && mantissa.front() == u'0' && (mantissa.at(1) == u'x' || mantissa.at(1) == u'X');
    if (hexadecimal)
        mantissa = mantissa.sliced(2);
    // Significant digits of the mantissa as typed: from the first non-zero digit to the last.
    qsizetype first = -1;
    qsizetype last = -1;
    int firstValue = 0;
    int lastValue = 0;
    qsizetype digits = 0;
    for (const QChar c : mantissa) {
        const bool exponent = hexadecimal ? (c == u'p' || c == u'P') : (c == u'e' || c == u'E');
        if (exponent)
            break;
        int value = -1;
        if (c >= u'0' && c <= u'9')
            value = c.unicode() - u'0';
        else if (hexadecimal && c >= u'a' && c <= u'f')
            value = c.unicode() - u'a' + 10;
        else if (hexadecimal && c >= u'A' && c <= u'F')
            value = c.unicode() - u'A' + 10;
        if (value < 0)
            continue;
        if (value != 0) {
            if (first < 0) {
                first = digits;
                firstValue = value;
            }
            last = digits;
            lastValue = value;
        }
        ++digits;
    }
    if (first < 0)
        return std::nullopt;
    if (!hexadecimal)
        return last - first + 1 > 15 ? std::optional(Inexact::TooManyDigits) : std::nullopt;
    // Hexadecimal digits are bits: a double holds 53 from the first one set to the last.
    const qsizetype leading = std::bit_width(unsigned(firstValue));
    const qsizetype trailing = std::countr_zero(unsigned(lastValue));
    const qsizetype bits = first == last ? leading - trailing : leading + 4 * (last - first) - trailing;
    return bits > 53 ? std::optional(Inexact::TooManyDigits) : std::nullopt;
}

QString inexactMessage(Inexact reason)
{
    switch (reason) {
    case Inexact::TooLarge:
        return QStringLiteral("Слишком большое число: сохранится неточно. Введите не больше 9 000 000 000 000 000");
    case Inexact::TooManyDigits:
        break;
    }
    return QStringLiteral("Слишком много цифр: сохранится неточно. Оставьте не больше 15 значащих цифр");
}

std::optional<double> parseExactDecimal(QStringView text)
{
    const std::optional<double> value = parseDecimal(text);
    if (!value || inexactness(text, *value))
        return std::nullopt;
    return *value + 0.0; // + 0.0 turns -0 into 0
}

std::optional<double> parseDecimal(QStringView text)
{
    // Grammar: [+-] (digits [. digits?] | . digits) [(e|E) [+-] digits]
    std::string ascii;
    ascii.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u',')
            ascii.push_back('.');
        else if (u < 0x80)
            ascii.push_back(static_cast<char>(u));
        else
            return std::nullopt;
    }
    if (ascii.empty())
        return std::nullopt;
    std::size_t i = 0;
    const std::size_t n = ascii.size();
    const auto isDigit = [&](std::size_t at) { return at < n && ascii[at] >= '0' && ascii[at] <= '9'; };
    if (i < n && (ascii[i] == '+' || ascii[i] == '-'))
        ++i;
    const std::size_t numberStart = ascii[0] == '+' ? 1 : 0; // from_chars takes no plus sign
    std::size_t integerDigits = 0;
    while (isDigit(i)) {
        ++i;
        ++integerDigits;
    }
    std::size_t fractionDigits = 0;
    if (i < n && ascii[i] == '.') {
        ++i;
        while (isDigit(i)) {
            ++i;
            ++fractionDigits;
        }
    }
    if (integerDigits + fractionDigits == 0)
        return std::nullopt;
    if (i < n && (ascii[i] == 'e' || ascii[i] == 'E')) {
        ++i;
        if (i < n && (ascii[i] == '+' || ascii[i] == '-'))
            ++i;
        if (!isDigit(i))
            return std::nullopt;
        while (isDigit(i))
            ++i;
    }
    if (i != n)
        return std::nullopt;

    double value = 0;
    const char *first = ascii.data() + numberStart;
    const char *last = ascii.data() + n;
    const auto result = std::from_chars(first, last, value, std::chars_format::general);
    if (result.ec != std::errc() || result.ptr != last || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace NumberText
