#pragma once

#include "Models/Project.h"

#include <QList>
#include <QString>
#include <optional>

// What a migration left behind: the device projects whose upload failed stay on the device.
struct LocalCloudMigrationResult
{
    QList<Project> notMoved;
    // The projects service's error text after the last failed call, when there was one.
    std::optional<QString> lastFailure;

    bool isComplete() const { return notMoved.isEmpty(); }
    // Empty when complete; otherwise how many stayed on the device and why.
    QString message(qsizetype attempted) const;
};
