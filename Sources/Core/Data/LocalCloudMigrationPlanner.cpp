#include "LocalCloudMigrationPlanner.h"

#include <QSet>

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
