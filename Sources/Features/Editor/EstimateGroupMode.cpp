#include "EstimateGroupMode.h"

QString rawValue(EstimateGroupMode mode)
{
    switch (mode) {
    case EstimateGroupMode::Category:
        return QStringLiteral("category");
    case EstimateGroupMode::CostDesc:
        return QStringLiteral("costDesc");
    case EstimateGroupMode::HoursDesc:
        return QStringLiteral("hoursDesc");
    }
    return {};
}

std::optional<EstimateGroupMode> estimateGroupModeFromRaw(const QString &raw)
{
    for (const EstimateGroupMode mode : allEstimateGroupModes) {
        if (rawValue(mode) == raw)
            return mode;
    }
    return std::nullopt;
}

QString label(EstimateGroupMode mode)
{
    switch (mode) {
    case EstimateGroupMode::Category:
        return QStringLiteral("Категория");
    case EstimateGroupMode::CostDesc:
        return QStringLiteral("Стоимость ↓");
    case EstimateGroupMode::HoursDesc:
        return QStringLiteral("Часы ↓");
    }
    return {};
}
