#include "Features/Analytics/AnalyticsProjectRow.h"

AnalyticsProjectRow AnalyticsProjectRow::fromProject(const Project &project)
{
    AnalyticsProjectRow row;
    row.id = project.id;
    row.name = project.name;
    // A blank client names nobody.
    if (project.clientName && !project.clientName->isEmpty())
        row.subtitle = project.clientName;
    row.currency = project.currency;
    row.status = project.status;
    row.isIteration = project.isIteration();
    row.plannedCost = project.totalCost;
    row.plannedHours = project.totalHours;
    return row;
}
