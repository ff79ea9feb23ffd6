#pragma once

#include "Project.h"

#include <QList>
#include <QString>

// One group of the projects list: a root (or an orphaned iteration) and its iterations in display
// order. Not coded.
struct ProjectTreeGroup
{
    QString id; // the root's identity
    Project root;
    QList<Project> iterations;

    bool operator==(const ProjectTreeGroup &other) const = default;
};
