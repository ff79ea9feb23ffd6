#include "LocalCloudMigrationPlanner.h"

#include <QSet>

#include <algorithm>

#include <unicode/locid.h>
#include <unicode/unistr.h>

namespace {

QSet<QString> keysOf(const QList<Project> &projects)
{
    QSet<QString> keys;
    for (const Project &project : projects)
        keys.insert(LocalCloudMigrationPlanner::nameKey(project.name));
    return keys;
}

bool sameLine(const ProjectItem &a, const ProjectItem &b)
{
    return a.title == b.title && a.description == b.description && a.category == b.category && a.hours == b.hours
        && a.rate == b.rate && a.isLocked == b.isLocked;
}

QList<Project> keep(const QList<Project> &projects, const QSet<QString> &keys, bool whenPresent)
{
    QList<Project> kept;
    for (const Project &project : projects) {
        if (keys.contains(LocalCloudMigrationPlanner::nameKey(project.name)) == whenPresent)
            kept.append(project);
    }
    return kept;
}

} // namespace

QString LocalCloudMigrationPlanner::nameKey(const QString &name)
{
    // trimmed() drops the Unicode separators and line breaks; ICU's root lower-casing applies the
    // full mappings (final sigma included) that QString::toLower() does not.
    const QString trimmed = name.trimmed();
    icu::UnicodeString text(reinterpret_cast<const UChar *>(trimmed.utf16()), int32_t(trimmed.size()));
    text.toLower(icu::Locale::getRoot());
    return QString(reinterpret_cast<const QChar *>(text.getBuffer()), text.length());
}

QList<Project> LocalCloudMigrationPlanner::localsToUploadMergeDedupe(const QList<Project> &cloud,
                                                                     const QList<Project> &locals)
{
    return keep(locals, keysOf(cloud), false);
}

QList<Project> LocalCloudMigrationPlanner::cloudProjectsToReplaceForLocalWins(const QList<Project> &cloud,
                                                                              const QList<Project> &locals)
{
    return keep(cloud, keysOf(locals), true);
}

bool LocalCloudMigrationPlanner::holdsUploadOf(const Project &cloud, const Project &local)
{
    return cloud.name == local.name && cloud.clientName == local.clientName && cloud.currency == local.currency
        && cloud.status == local.status && cloud.defaultRate == local.defaultRate
        && std::equal(cloud.items.begin(), cloud.items.end(), local.items.begin(), local.items.end(), sameLine);
}

std::optional<Project> LocalCloudMigrationPlanner::earlierUpload(const QList<Project> &cloud, const Project &local,
                                                                 const QStringList &knownIds,
                                                                 const QSet<QString> &taken)
{
    for (const Project &project : cloud) {
        if (!knownIds.contains(project.id) && !taken.contains(project.id) && holdsUploadOf(project, local))
            return project;
    }
    return std::nullopt;
}

QStringList LocalCloudMigrationPlanner::holdersOf(const QList<Project> &cloud, const Project &local)
{
    QStringList ids;
    for (const Project &project : cloud) {
        if (holdsUploadOf(project, local))
            ids.append(project.id);
    }
    return ids;
}
