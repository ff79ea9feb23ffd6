#include "EstimateValidation.h"

#include "Utils/Text.h"

namespace EstimateValidation {

std::optional<QString> validate(const QList<EditableEstimateItem> &items, const QString &name)
{
    if (Text::trimmedSpacesAndTabs(name).isEmpty())
        return QStringLiteral("Укажите название проекта");
    for (const EditableEstimateItem &item : items) {
        if (Text::trimmedSpacesAndTabs(item.title).isEmpty())
            return QStringLiteral("У каждой строки должно быть название");
        // NaN is not below zero and passes, as does -0.
        if (item.hours < 0 || item.rate < 0)
            return QStringLiteral("Часы и ставка не могут быть отрицательными");
    }
    return std::nullopt;
}

} // namespace EstimateValidation
