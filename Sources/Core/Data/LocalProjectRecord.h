#pragma once

#include "Data/LocalProjectSummary.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>

// One stored guest project: the project itself is JSON; beside it the store keeps its identity,
// when it last wrote it and, for the lists, its summary.
struct LocalProjectRecord
{
    QString id;
    QByteArray projectData;
    // The store's own write stamp (UTC, millisecond precision), not the project's updatedAt text.
    QDateTime updatedAt;
    // Absent when the record was written without one, or its JSON did not read when the store
    // was upgraded; then the JSON is all there is.
    std::optional<LocalProjectSummary> summary;
};
