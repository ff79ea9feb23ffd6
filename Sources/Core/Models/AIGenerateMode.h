#pragma once

#include <QList>
#include <QString>
#include <optional>

// Level of detail asked of the AI; the request carries the raw value as text.
enum class AIGenerateMode { detailed, quick, budget };

// In the order a picker shows them.
QList<AIGenerateMode> allAIGenerateModes();
QString rawValue(AIGenerateMode mode);
// Exact, case-sensitive match: "Quick" is no mode.
std::optional<AIGenerateMode> aiGenerateModeFromRawValue(const QString &raw);
QString displayName(AIGenerateMode mode);
