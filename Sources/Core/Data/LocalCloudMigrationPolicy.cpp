#include "LocalCloudMigrationPolicy.h"

QString rawValue(LocalCloudMigrationPolicy policy)
{
    switch (policy) {
    case LocalCloudMigrationPolicy::MergeAll:
        return QStringLiteral("mergeAll");
    case LocalCloudMigrationPolicy::MergeDedupeByName:
        return QStringLiteral("mergeDedupeByName");
    case LocalCloudMigrationPolicy::CloudOnly:
        return QStringLiteral("cloudOnly");
    case LocalCloudMigrationPolicy::LocalWinsReplaceMatches:
        return QStringLiteral("localWinsReplaceMatches");
    }
    return {};
}

std::optional<LocalCloudMigrationPolicy> localCloudMigrationPolicyFromRaw(const QString &raw)
{
    for (const LocalCloudMigrationPolicy policy : allLocalCloudMigrationPolicies) {
        if (rawValue(policy) == raw)
            return policy;
    }
    return std::nullopt;
}

QString displayName(LocalCloudMigrationPolicy policy)
{
    switch (policy) {
    case LocalCloudMigrationPolicy::MergeAll:
        return QStringLiteral("Слияние");
    case LocalCloudMigrationPolicy::MergeDedupeByName:
        return QStringLiteral("Слияние с дедупликацией");
    case LocalCloudMigrationPolicy::CloudOnly:
        return QStringLiteral("Облако главное");
    case LocalCloudMigrationPolicy::LocalWinsReplaceMatches:
        return QStringLiteral("Локальное главное");
    }
    return {};
}

QString explanation(LocalCloudMigrationPolicy policy)
{
    switch (policy) {
    case LocalCloudMigrationPolicy::MergeAll:
        return QStringLiteral("Все локальные проекты будут загружены в аккаунт как новые. "
                              "Облачные проекты не изменятся.");
    case LocalCloudMigrationPolicy::MergeDedupeByName:
        return QStringLiteral("Локальные проекты с тем же названием, что уже есть в облаке "
                              "(без учёта регистра), не будут дублироваться.");
    case LocalCloudMigrationPolicy::CloudOnly:
        return QStringLiteral("Локальные черновики на устройстве будут удалены. "
                              "Останутся только проекты из облака.");
    case LocalCloudMigrationPolicy::LocalWinsReplaceMatches:
        return QStringLiteral("Для совпадений по названию сначала удаляется облачный проект, "
                              "затем загружается локальная версия. Остальные облачные проекты "
                              "сохраняются.");
    }
    return {};
}
