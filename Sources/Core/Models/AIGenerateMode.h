#pragma once

#include <QString>
#include <array>
#include <optional>

// Level of detail asked of the AI; the request carries the raw value as text.
enum class AIGenerateMode { Detailed, Quick, Budget };

// All cases in the order a picker shows them.
inline constexpr std::array<AIGenerateMode, 3> allAIGenerateModes{AIGenerateMode::Detailed, AIGenerateMode::Quick,
                                                                  AIGenerateMode::Budget};

QString rawValue(AIGenerateMode mode);
// Exact, case-sensitive match: "Quick" is no mode.
std::optional<AIGenerateMode> aiGenerateModeFromRaw(const QString &raw);
QString displayName(AIGenerateMode mode);
