#pragma once

#include "Models/EditableEstimateItem.h"

#include <QString>

// The texts of one line's card, formatted here so the card only draws them.
namespace EstimateLineTexts {

// The title, or "Без названия" for an empty one; blanks are a title.
QString shownTitle(const EditableEstimateItem &item);
// Rate times hours with each factor below zero counting as zero, as money in the currency.
QString costText(const EditableEstimateItem &item, const QString &currency);
// The hours as stored, one decimal: "2.5 ч", "-2.0 ч".
QString hoursText(const EditableEstimateItem &item);
// The rate as stored, whole: "1500 RUB".
QString rateText(const EditableEstimateItem &item, const QString &currency);
// What a screen reader hears after the title, in the order the card draws it: cost, hours, rate per hour,
// category and, for a locked line, that its rate is fixed.
QString spokenText(const EditableEstimateItem &item, const QString &currency);

} // namespace EstimateLineTexts
