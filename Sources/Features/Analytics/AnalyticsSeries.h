#pragma once

#include "AnalyticsChartEntry.h"
#include "AnalyticsProjectRow.h"

#include <QList>
#include <QString>
#include <QStringList>

// What the dashboard derives from its sorted rows, computed once per load: the money totals
// per currency, the bar chart and the donut of statuses.
struct AnalyticsSeries
{
    static constexpr int chartRows = 12;
    static constexpr int labelGraphemes = 14;

    // One formatted amount for a single currency; one line per currency, sorted, otherwise;
    // empty without rows.
    QString planText;
    QString doneText;
    QString paidText;

    // Three per row of the first twelve: plan, done, paid.
    QList<AnalyticsChartEntry> entries;
    // The bar chart as a category axis draws it: it keeps one of repeated labels, so entries of
    // one label are summed per series, labels in first-seen order.
    QStringList barLabels;
    // The whole name of the first row of each label, for its tooltip.
    QStringList barNames;
    QList<double> barPlanned;
    QList<double> barDone;
    QList<double> barPaid;
    // The value axis's top: a round figure at or above every bar, 1 when no bar is above 0.
    double barAxisMaximum = 1;
    // The value axis's marks above 0, evenly up to the top, as money text: with the currency
    // when the charted rows share one, grouped digits alone when they mix currencies.
    QList<double> barAxisTicks;
    QStringList barAxisTickLabels;
    static constexpr int axisTicks = 4;

    // Statuses that have rows, in status order, with their row counts.
    QStringList statusValues;
    QStringList statusLabels;
    QList<int> statusCounts;

    static AnalyticsSeries from(const QList<AnalyticsProjectRow> &rows);
};
