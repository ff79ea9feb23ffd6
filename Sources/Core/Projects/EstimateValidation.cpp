#include "EstimateValidation.h"

#include "Utils/Text.h"

namespace {

std::optional<QString> lineProblem(const EditableEstimateItem &item)
{
    if (Text::trimmedSpacesAndTabs(item.title).isEmpty())
        return QStringLiteral("У каждой строки должно быть название");
    // NaN is not below zero and passes, as does -0.
    if (item.hours < 0 || item.rate < 0)
        return QStringLiteral("Часы и ставка не могут быть отрицательными");
    return std::nullopt;
}

} // namespace

namespace EstimateValidation {

std::optional<QString> validate(const QList<EditableEstimateItem> &items, const QString &name)
{
    if (Text::trimmedSpacesAndTabs(name).isEmpty())
        return QStringLiteral("Укажите название проекта");
    if (const std::optional<qsizetype> line = invalidLine(items, name))
        return lineProblem(items.at(*line));
    return std::nullopt;
}

std::optional<qsizetype> invalidLine(const QList<EditableEstimateItem> &items, const QString &name)
{
    if (Text::trimmedSpacesAndTabs(name).isEmpty())
        return std::nullopt;
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (lineProblem(items.at(i)))
            return i;
    }
    return std::nullopt;
}

} // namespace EstimateValidation
