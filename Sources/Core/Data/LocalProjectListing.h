#pragma once

#include "Models/Project.h"

#include <QList>
#include <QString>
#include <QStringList>

// Every stored project that reads back, newest write first, and the records that do not.
struct LocalProjectListing
{
    QList<Project> projects;
    // Identities of records whose JSON no longer reads as a project; they stay in the store.
    QStringList unreadableIds;
    // The decoding failure of the first of them, empty when all read.
    QString firstFailure;
};
