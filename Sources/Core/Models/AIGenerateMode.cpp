#include "AIGenerateMode.h"

QList<AIGenerateMode> allAIGenerateModes()
{
    return {AIGenerateMode::detailed, AIGenerateMode::quick, AIGenerateMode::budget};
}

QString rawValue(AIGenerateMode mode)
{
    switch (mode) {
    case AIGenerateMode::detailed: return QStringLiteral("detailed");
    case AIGenerateMode::quick: return QStringLiteral("quick");
    case AIGenerateMode::budget: return QStringLiteral("budget");
    }
    return {};
}

std::optional<AIGenerateMode> aiGenerateModeFromRawValue(const QString &raw)
{
    for (const AIGenerateMode mode : allAIGenerateModes()) {
        if (rawValue(mode) == raw)
            return mode;
    }
    return std::nullopt;
}

QString displayName(AIGenerateMode mode)
{
    switch (mode) {
    case AIGenerateMode::detailed: return QStringLiteral("Детально");
    case AIGenerateMode::quick: return QStringLiteral("Быстро");
    case AIGenerateMode::budget: return QStringLiteral("Бюджет");
    }
    return {};
}
