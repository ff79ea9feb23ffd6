#pragma once

#include <QString>
#include <array>
#include <optional>

// The eight legacy category identifiers, for which names and colours are fixed when the catalog
// gives none.
enum class EstimateCategory { Backend, Frontend, Mobile, Design, Devops, Management, Qa, Analytics };

inline constexpr std::array<EstimateCategory, 8> allEstimateCategories{
    EstimateCategory::Backend, EstimateCategory::Frontend,   EstimateCategory::Mobile, EstimateCategory::Design,
    EstimateCategory::Devops,  EstimateCategory::Management, EstimateCategory::Qa,     EstimateCategory::Analytics};

QString rawValue(EstimateCategory category);
// Exact, case-sensitive match; no trimming.
std::optional<EstimateCategory> estimateCategoryFromRaw(const QString &raw);
