#include "AnalyticsSeries.h"

#include "Utils/MoneyFormat.h"
#include "Utils/Numbers.h"
#include "Utils/Text.h"

#include <QLocale>
#include <QMap>
#include <QSet>
#include <array>
#include <cmath>

namespace {

struct Sums
{
    double planned = 0;
    double done = 0;
    double paid = 0;
};

QString joinedLines(const QMap<QString, Sums> &byCurrency, double Sums::*component)
{
    if (byCurrency.size() == 1)
        return MoneyFormat::format(byCurrency.first().*component, byCurrency.firstKey());
    QStringList lines;
    for (auto it = byCurrency.cbegin(); it != byCurrency.cend(); ++it)
        lines.append(MoneyFormat::format(it.value().*component, it.key()));
    return lines.join(QLatin1Char('\n'));
}

// The smallest of 1, 1.5, 2, 2.5, ... times a power of ten that is at least value; the value
// itself where that step would pass the largest double.
double roundedUp(double value)
{
    if (!(value > 0) || !std::isfinite(value))
        return 1;
    const double step = std::pow(10.0, std::floor(std::log10(value))) / 2;
    const double rounded = std::ceil(value / step) * step;
    return std::isfinite(rounded) ? rounded : value;
}

} // namespace

AnalyticsSeries AnalyticsSeries::from(const QList<AnalyticsProjectRow> &rows)
{
    AnalyticsSeries series;

    QMap<QString, Sums> byCurrency;
    std::array<int, allProjectStatuses.size()> perStatus{};
    for (const AnalyticsProjectRow &row : rows) {
        Sums &sums = byCurrency[row.currency];
        sums.planned += row.plannedCost;
        sums.done += row.doneCost;
        sums.paid += row.paidCost;
        ++perStatus[std::size_t(row.status)];
    }
    series.planText = joinedLines(byCurrency, &Sums::planned);
    series.doneText = joinedLines(byCurrency, &Sums::done);
    series.paidText = joinedLines(byCurrency, &Sums::paid);

    const QString plan = QStringLiteral("План");
    const QString done = QStringLiteral("Выполнено");
    const QString paid = QStringLiteral("Оплачено");
    const qsizetype charted = std::min<qsizetype>(rows.size(), chartRows);
    series.entries.reserve(charted * 3);
    for (qsizetype i = 0; i < charted; ++i) {
        const AnalyticsProjectRow &row = rows.at(i);
        const QString label = Text::leadingGraphemes(row.name, labelGraphemes);
        series.entries.append({row.id + QStringLiteral("-plan"), label, plan, Numbers::plotted(row.plannedCost)});
        series.entries.append({row.id + QStringLiteral("-done"), label, done, Numbers::plotted(row.doneCost)});
        series.entries.append({row.id + QStringLiteral("-paid"), label, paid, Numbers::plotted(row.paidCost)});

        const qsizetype at = series.barLabels.indexOf(label);
        if (at < 0) {
            series.barLabels.append(label);
            series.barNames.append(row.name);
            series.barPlanned.append(row.plannedCost);
            series.barDone.append(row.doneCost);
            series.barPaid.append(row.paidCost);
        } else {
            series.barPlanned[at] += row.plannedCost;
            series.barDone[at] += row.doneCost;
            series.barPaid[at] += row.paidCost;
        }
    }

    double highest = 0;
    for (QList<double> *values : {&series.barPlanned, &series.barDone, &series.barPaid}) {
        for (double &value : *values) {
            // Bars of one label add up and may overflow.
            value = Numbers::plotted(value);
            if (value > highest)
                highest = value;
        }
    }
    series.barAxisMaximum = roundedUp(highest);
    QSet<QString> currencies;
    for (qsizetype i = 0; i < charted; ++i)
        currencies.insert(rows.at(i).currency);
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    for (int tick = 1; tick <= axisTicks; ++tick) {
        const double value = series.barAxisMaximum * tick / axisTicks;
        series.barAxisTicks.append(value);
        series.barAxisTickLabels.append(currencies.size() == 1 ? MoneyFormat::format(value, *currencies.cbegin())
                                                               : russian.toString(qint64(std::llround(value))));
    }

    for (std::size_t i = 0; i < allProjectStatuses.size(); ++i) {
        if (perStatus[i] == 0)
            continue;
        series.statusValues.append(rawValue(allProjectStatuses[i]));
        series.statusLabels.append(label(allProjectStatuses[i]));
        series.statusCounts.append(perStatus[i]);
    }
    return series;
}
