#include "EstimateLineTexts.h"

#include "Utils/LineCost.h"
#include "Utils/MoneyFormat.h"
#include "Utils/NumberText.h"
#include "Utils/Text.h"

namespace EstimateLineTexts {

QString shownTitle(const EditableEstimateItem &item)
{
    return item.title.isEmpty() ? QStringLiteral("Без названия") : Text::boundedMessage(item.title);
}

QString costText(const EditableEstimateItem &item, const QString &currency)
{
    return MoneyFormat::format(LineCost::clamped(item.hours, item.rate), currency);
}

QString hoursText(const EditableEstimateItem &item)
{
    return NumberText::fixed(item.hours, 1) + QStringLiteral(" ч");
}

QString rateText(const EditableEstimateItem &item, const QString &currency)
{
    return NumberText::fixed(item.rate, 0) + QLatin1Char(' ') + currency;
}

} // namespace EstimateLineTexts
