#pragma once

#include <QString>

// One bar of the dashboard's grouped chart: a project's label, the series it belongs to, and
// its amount.
struct AnalyticsChartEntry
{
    QString id;
    QString label;
    QString series;
    double value = 0;

    bool operator==(const AnalyticsChartEntry &) const = default;
};
