#include "AIGenerateMode.h"

QString rawValue(AIGenerateMode mode)
{
    switch (mode) {
    case AIGenerateMode::Detailed:
        return QStringLiteral("detailed");
    case AIGenerateMode::Quick:
        return QStringLiteral("quick");
    case AIGenerateMode::Budget:
        return QStringLiteral("budget");
    }
    return {};
}

std::optional<AIGenerateMode> aiGenerateModeFromRaw(const QString &raw)
{
    for (const AIGenerateMode mode : allAIGenerateModes) {
        if (rawValue(mode) == raw)
            return mode;
    }
    return std::nullopt;
}

QString displayName(AIGenerateMode mode)
{
    switch (mode) {
    case AIGenerateMode::Detailed:
        return QStringLiteral("Детально");
    case AIGenerateMode::Quick:
        return QStringLiteral("Быстро");
    case AIGenerateMode::Budget:
        return QStringLiteral("Бюджет");
    }
    return {};
}
