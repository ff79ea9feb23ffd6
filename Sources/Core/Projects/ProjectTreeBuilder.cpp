#include "ProjectTreeBuilder.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QHash>
#include <QSet>
#include <algorithm>
#include <iterator>
#include <vector>

namespace {

using Indices = std::vector<qsizetype>;

// Root indices in stable, localized, case-insensitive name order.
Indices sortedRoots(const QList<Project> &projects)
{
    Indices roots;
    for (qsizetype i = 0; i < projects.size(); ++i) {
        if (projects.at(i).isRoot())
            roots.push_back(i);
    }
    QCollator collator; // the user's locale
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    if (collator.locale().language() == QLocale::C) {
        // The C collator's sort keys ignore the case setting; compare directly instead.
        std::stable_sort(roots.begin(), roots.end(), [&](qsizetype a, qsizetype b) {
            return QString::compare(projects.at(a).name, projects.at(b).name, Qt::CaseInsensitive) < 0;
        });
        return roots;
    }
    // One sort key per root keeps the sort cheap for long lists.
    std::vector<QCollatorSortKey> keys;
    keys.reserve(roots.size());
    for (const qsizetype i : roots)
        keys.push_back(collator.sortKey(projects.at(i).name));
    Indices order(roots.size());
    for (std::size_t k = 0; k < order.size(); ++k)
        order[k] = static_cast<qsizetype>(k);
    std::stable_sort(order.begin(), order.end(),
                     [&](qsizetype a, qsizetype b) { return keys[a].compare(keys[b]) < 0; });
    Indices sorted;
    sorted.reserve(order.size());
    for (const qsizetype k : order)
        sorted.push_back(roots[static_cast<std::size_t>(k)]);
    return sorted;
}

} // namespace

namespace ProjectTreeBuilder {

QList<ProjectTreeGroup> build(const QList<Project> &projects)
{
    // Indexed by the identities projects point at, so each root finds its iterations without
    // scanning the whole list; indices stay in input order.
    QHash<QString, Indices> byParent;
    QHash<QString, Indices> byBase;
    for (qsizetype i = 0; i < projects.size(); ++i) {
        const Project &p = projects.at(i);
        if (p.parentProjectId)
            byParent[*p.parentProjectId].push_back(i);
        if (p.baseProjectId)
            byBase[*p.baseProjectId].push_back(i);
    }

    const Indices empty;
    QList<ProjectTreeGroup> groups;
    QSet<QString> seen;
    for (const qsizetype r : sortedRoots(projects)) {
        const Project &root = projects.at(r);
        seen.insert(root.id);
        ProjectTreeGroup group{root.id, root, {}};

        const auto parentIt = byParent.constFind(root.id);
        const Indices &children = parentIt != byParent.constEnd() ? parentIt.value() : empty;
        const bool collects = root.projectType == QStringLiteral("iterative") || !children.empty();
        if (collects) {
            const auto baseIt = byBase.constFind(root.id);
            const Indices &derived = baseIt != byBase.constEnd() ? baseIt.value() : empty;
            Indices members;
            std::set_union(children.begin(), children.end(), derived.begin(), derived.end(),
                           std::back_inserter(members));
            std::erase_if(members, [&](qsizetype i) { return projects.at(i).id == root.id; });
            std::stable_sort(members.begin(), members.end(), [&](qsizetype a, qsizetype b) {
                return projects.at(a).version.value_or(0) < projects.at(b).version.value_or(0);
            });
            group.iterations.reserve(static_cast<qsizetype>(members.size()));
            for (const qsizetype i : members) {
                group.iterations.append(projects.at(i));
                seen.insert(projects.at(i).id);
            }
        }
        groups.append(std::move(group));
    }

    for (const Project &p : projects) {
        if (p.isIteration() && !seen.contains(p.id))
            groups.append(ProjectTreeGroup{p.id, p, {}});
    }
    return groups;
}

} // namespace ProjectTreeBuilder
