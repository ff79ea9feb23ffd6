#pragma once

#include <QString>
#include <array>
#include <optional>

// How device projects move into the account. Never stored or sent; only the migration sheet
// holds one.
enum class LocalCloudMigrationPolicy { MergeAll, MergeDedupeByName, CloudOnly, LocalWinsReplaceMatches };

// All cases in the order the migration sheet offers them.
inline constexpr std::array<LocalCloudMigrationPolicy, 4> allLocalCloudMigrationPolicies{
    LocalCloudMigrationPolicy::MergeAll, LocalCloudMigrationPolicy::MergeDedupeByName,
    LocalCloudMigrationPolicy::CloudOnly, LocalCloudMigrationPolicy::LocalWinsReplaceMatches};

QString rawValue(LocalCloudMigrationPolicy policy);
// Exact, case-sensitive match; none for any other text.
std::optional<LocalCloudMigrationPolicy> localCloudMigrationPolicyFromRaw(const QString &raw);
QString displayName(LocalCloudMigrationPolicy policy);
QString explanation(LocalCloudMigrationPolicy policy);
