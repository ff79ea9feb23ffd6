#pragma once

#include "Models/Project.h"
#include "Models/ProjectTreeGroup.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The projects list's pure rules: search, texts of rows, cards and the delete dialog, where the
// selection goes after a deletion, and the card grid's geometry.
namespace ProjectsListRules {

// Trimmed of white space and line breaks, lower-cased; empty filters nothing.
QString normalizedQuery(const QString &searchText);
// Groups whose root name or client, or any iteration's name or label, holds the query; a
// matching group stays whole. An iteration's client is not searched.
QList<ProjectTreeGroup> filterGroups(const QList<ProjectTreeGroup> &groups, const QString &query);
// The lower-cased texts a group, or a card, is searched by; made once per list, so that a
// keystroke only compares.
QStringList searchTexts(const ProjectTreeGroup &group);
QStringList searchTexts(const Project &project);
// The positions of the entries whose texts hold the query, all for an empty query.
QList<qsizetype> matching(const QList<QStringList> &texts, const QString &query);

// Iterations listed under the root (parent equals its identity).
int iterationCount(const QList<Project> &projects, const QString &rootId);

// After deleting `deleted` while it was selected: the highest-version sibling (absent counts as
// 0, the later of equal versions), else the root; nothing for a root.
std::optional<QString> selectionAfterDelete(const QList<Project> &remaining, const Project &deleted);

// Where the keys go when the row at `removedAt` of `before` is gone: the first row after it that
// `after` still shows, else the nearest one before it, else the row at its place.
QString neighbourAfterRemoval(const QStringList &before, qsizetype removedAt, const QStringList &after);

QString deleteDialogTitle(const std::optional<Project> &project);
QString deleteDialogMessage(const std::optional<Project> &project, bool isGuest, const QList<Project> &projects);
QString deleteConfirmTitle(const std::optional<Project> &project);
// The context menu's delete entry, empty for a root that has iterations in the whole list.
QString deleteEntryTitle(const Project &project, int listedIterations);
// Iterations listed per root identity.
QHash<QString, int> iterationCounts(const QList<Project> &projects);

QString treeRowTitle(const Project &project, bool isIteration);
QString treeRowSubtitle(const Project &project, bool isIteration);

QString cardHoursText(double hours);
QString cardCostText(double cost, const QString &currency);
// The footnote when not empty, else "На устройстве" for a device project, else nothing.
QString storageNote(const Project &project, const QString &footnote);

// What a reader hears beside a tree row's title: its subtitle, the root's number of iterations,
// and its level in the tree (the reader has no other way to learn it).
QString treeRowSpokenDescription(const QString &subtitle, int iterationCount, bool isIteration);
// What a reader hears beside a card's name: its other texts, in the order they are drawn.
QString cardSpokenDescription(const QStringList &texts);

// Columns of the adaptive card grid over the given width.
int cardColumns(double width, bool compact);
// The list's content cap from the window's width: none (0) under 520, then 520, from 900 on 640.
double contentWidthCap(double windowWidth);

} // namespace ProjectsListRules
