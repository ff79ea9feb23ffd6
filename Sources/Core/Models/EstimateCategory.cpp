#include "EstimateCategory.h"

QString rawValue(EstimateCategory category)
{
    switch (category) {
    case EstimateCategory::Backend:
        return QStringLiteral("backend");
    case EstimateCategory::Frontend:
        return QStringLiteral("frontend");
    case EstimateCategory::Mobile:
        return QStringLiteral("mobile");
    case EstimateCategory::Design:
        return QStringLiteral("design");
    case EstimateCategory::Devops:
        return QStringLiteral("devops");
    case EstimateCategory::Management:
        return QStringLiteral("management");
    case EstimateCategory::Qa:
        return QStringLiteral("qa");
    case EstimateCategory::Analytics:
        return QStringLiteral("analytics");
    }
    return {};
}

std::optional<EstimateCategory> estimateCategoryFromRaw(const QString &raw)
{
    for (const EstimateCategory category : allEstimateCategories) {
        if (rawValue(category) == raw)
            return category;
    }
    return std::nullopt;
}
