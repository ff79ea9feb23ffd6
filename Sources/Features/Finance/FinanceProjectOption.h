#pragma once

#include "Models/Project.h"

#include <QString>

// One row of the payments hub: a project or iteration with the texts the row shows.
struct FinanceProjectOption
{
    QString id;
    Project project;
    QString title;
    QString subtitle;
    // Every row built as an iteration, indented under its root or not.
    bool isIteration = false;

    friend bool operator==(const FinanceProjectOption &, const FinanceProjectOption &) = default;
};
