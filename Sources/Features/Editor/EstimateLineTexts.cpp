#include "EstimateLineTexts.h"

#include "CategoryCatalog.h"

#include "Utils/LineCost.h"
#include "Utils/MoneyFormat.h"
#include "Utils/NumberText.h"
#include "Utils/Text.h"

#include <QStringList>

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

QString spokenText(const EditableEstimateItem &item, const QString &currency)
{
    // The rate as drawn, "/ час" with it.
    QStringList parts{costText(item, currency), hoursText(item), rateText(item, currency) + QStringLiteral(" / час"),
                      CategoryCatalog::name(item.category)};
    if (item.isLocked)
        parts.append(QStringLiteral("Ставка зафиксирована"));
    parts.removeAll(QString());
    return parts.join(QStringLiteral(", "));
}

} // namespace EstimateLineTexts
