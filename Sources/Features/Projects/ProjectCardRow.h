#pragma once

#include <QString>

// One guest card with its texts and whether it is selected.
struct ProjectCardRow
{
    QString projectId;
    QString name;
    QString clientName;
    QString status; // raw text, for the status badge
    QString hoursText;
    QString costText;
    QString storageNote;
    bool isSelected = false;

    bool operator==(const ProjectCardRow &other) const = default;
};
