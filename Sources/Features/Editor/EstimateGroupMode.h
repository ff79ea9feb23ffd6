#pragma once

#include <QString>
#include <array>
#include <optional>

// How the editor lists its lines: by category, or as one list by cost or by hours. Not saved.
enum class EstimateGroupMode { Category, CostDesc, HoursDesc };

// All cases in the order the group-mode control offers them.
inline constexpr std::array<EstimateGroupMode, 3> allEstimateGroupModes{
    EstimateGroupMode::Category, EstimateGroupMode::CostDesc, EstimateGroupMode::HoursDesc};

QString rawValue(EstimateGroupMode mode);
std::optional<EstimateGroupMode> estimateGroupModeFromRaw(const QString &raw);
QString label(EstimateGroupMode mode);
