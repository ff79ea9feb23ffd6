#pragma once

#include <QString>

// One visible row of the account tree: a root, or an iteration of an unfolded root, with its
// texts and the state it is drawn in.
struct ProjectTreeRow
{
    static QString keyOf(const QString &rootId, const QString &projectId)
    {
        return rootId + QLatin1Char('/') + projectId;
    }

    QString projectId;
    QString rootId; // the group's identity; a project may stand in more than one group
    bool isIteration = false;
    QString title;
    QString subtitle;
    int iterationCount = 0; // the root's badge; 0 shows none
    bool hasChildren = false;
    bool isExpanded = false;
    bool isSelected = false;
    bool isHovered = false;
    bool groupHoldsSelection = false;
    bool isFirstInGroup = false;
    bool isLastInGroup = false;
    bool offersFinance = false;
    QString deleteTitle; // empty: the menu has no delete entry

    // rootId + "/" + projectId, made once when the row is built.
    QString key;
    bool operator==(const ProjectTreeRow &other) const = default;
};
