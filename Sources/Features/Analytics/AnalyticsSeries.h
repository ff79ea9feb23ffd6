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
    // The longest name shown under a group of bars, where it may wrap, and where it stands on
    // one slanted line.
    static constexpr int titleGraphemes = 32;
    static constexpr int shortTitleGraphemes = 18;

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
    // What stands under each group: the name its rows share, or the words all their names begin
    // with followed by "…"; cut where a line may break, to at most titleGraphemes, or
    // shortTitleGraphemes for the slanted form.
    QStringList barTitles;
    QStringList barShortTitles;
    // The whole names of the rows of each label, one a line, for its tooltip.
    QStringList barNames;
    QList<double> barPlanned;
    QList<double> barDone;
    QList<double> barPaid;
    // The value axis's top: a round figure at or above every bar, 1 when no bar is above 0.
    double barAxisMaximum = 1;
    // The value axis's marks above 0, evenly up to the top, as money text: with the currency
    // when the charted rows share one, grouped digits alone when they mix currencies; one that
    // is too long for its place ends in "…".
    QList<double> barAxisTicks;
    QStringList barAxisTickLabels;
    static constexpr int axisTicks = 4;
    static constexpr int axisLabelGraphemes = 16;

    // Statuses that have rows, in status order, with their row counts.
    QStringList statusValues;
    QStringList statusLabels;
    QList<int> statusCounts;

    static AnalyticsSeries from(const QList<AnalyticsProjectRow> &rows);

    // The text on one line in at most `limit` user-perceived characters: whole when it fits,
    // else cut where a line may break (after a blank or a hyphen) and ended with "…"; inside a
    // word only when its first word alone is longer.
    static QString shortened(const QString &text, qsizetype limit);
    // The name a group of bars of these names (all alike in their first labelGraphemes) goes by.
    static QString groupTitle(const QStringList &names);
};
