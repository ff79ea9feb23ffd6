#include "MoneyFormat.h"

#include "NumberText.h"

#include <QHash>
#include <QReadWriteLock>
#include <cmath>
#include <memory>
#include <unicode/numberformatter.h>

namespace {

using icu::number::LocalizedNumberFormatter;

// Formatters are immutable and safe to share between threads once built; null marks a currency
// code that ICU refuses.
struct FormatterCache
{
    QReadWriteLock lock;
    QHash<QString, std::shared_ptr<const LocalizedNumberFormatter>> byCurrency; // guarded by lock
};

FormatterCache &formatterCache()
{
    static FormatterCache cache;
    return cache;
}

// ICU quietly cuts "RUBX" to "RUB" and turns an empty code into a placeholder sign; only a code
// of three letters is passed on, anything else takes the plain fallback.
bool isCurrencyCode(const QString &currency)
{
    if (currency.size() != 3)
        return false;
    for (const QChar c : currency) {
        if (!((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z')))
            return false;
    }
    return true;
}

std::shared_ptr<const LocalizedNumberFormatter> makeFormatter(const QString &currency)
{
    if (!isCurrencyCode(currency))
        return nullptr;
    UErrorCode status = U_ZERO_ERROR;
    const icu::CurrencyUnit unit(reinterpret_cast<const char16_t *>(currency.utf16()), status);
    if (U_FAILURE(status))
        return nullptr;
    return std::make_shared<const LocalizedNumberFormatter>(icu::number::NumberFormatter::with()
                                                                .unit(unit)
                                                                .precision(icu::number::Precision::maxFraction(0))
                                                                .roundingMode(UNUM_ROUND_HALFEVEN)
                                                                .locale(icu::Locale("ru_RU")));
}

std::shared_ptr<const LocalizedNumberFormatter> formatterFor(const QString &currency)
{
    FormatterCache &cache = formatterCache();
    {
        const QReadLocker locker(&cache.lock);
        const auto it = cache.byCurrency.constFind(currency);
        if (it != cache.byCurrency.constEnd())
            return it.value();
    }
    auto formatter = makeFormatter(currency);
    const QWriteLocker locker(&cache.lock);
    // Codes come from projects and payments, so few are ever seen; the bound only stops a stream
    // of odd texts from growing the cache without end.
    if (cache.byCurrency.size() >= 64)
        cache.byCurrency.clear();
    return *cache.byCurrency.insert(currency, std::move(formatter));
}

// The whole-number part of a finite value as plain digits. Done on the double, not through an
// integer, so values beyond 64 bits cannot overflow a conversion.
QString wholeNumberText(double value)
{
    return NumberText::fixed(std::trunc(value) + 0.0, 0); // + 0.0 turns -0 into 0
}

} // namespace

namespace MoneyFormat {

QString format(double value, const QString &currency)
{
    if (!std::isfinite(value))
        return NumberText::notFiniteText();
    // What rounds to zero shows as zero, never "-0 ₽"; nearbyint rounds half to even as the formatter.
    if (std::nearbyint(value) == 0)
        value = 0;
    if (const auto formatter = formatterFor(currency)) {
        UErrorCode status = U_ZERO_ERROR;
        const icu::UnicodeString text = formatter->formatDouble(value, status).toString(status);
        if (U_SUCCESS(status) && !text.isEmpty())
            return QString(reinterpret_cast<const QChar *>(text.getBuffer()), text.length());
    }
    return wholeNumberText(value) + QLatin1Char(' ') + currency;
}

} // namespace MoneyFormat
