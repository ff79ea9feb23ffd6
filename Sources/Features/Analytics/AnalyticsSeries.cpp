#include "AnalyticsSeries.h"

#include "Utils/MoneyFormat.h"
#include "Utils/Numbers.h"
#include "Utils/Text.h"

#include <QLocale>
#include <QMap>
#include <QSet>
#include <QTextBoundaryFinder>
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

const QChar seriesEllipsis(0x2026);

bool breaksLine(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QLatin1Char('\v') || c == QLatin1Char('\f')
        || c == QChar(0x0085) || c == QChar(0x2028) || c == QChar(0x2029);
}

// The first count user-perceived characters, their line breaks turned into blanks.
QString oneLineHead(const QString &text, qsizetype count)
{
    QString head = Text::leadingGraphemes(text, count);
    for (QChar &c : head) {
        if (breaksLine(c))
            c = QLatin1Char(' ');
    }
    return head;
}

QString withoutTrailingBlanks(QString text)
{
    qsizetype end = text.size();
    while (end > 0 && Text::isSpaceOrTab(text.at(end - 1)))
        --end;
    text.truncate(end);
    return text;
}

// The last place at or before `limit` (and after 0) where a line of text may break.
qsizetype lastBreakUpTo(const QString &text, qsizetype limit)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, text);
    qsizetype found = 0;
    for (qsizetype at = finder.toNextBoundary(); at > 0 && at <= limit; at = finder.toNextBoundary())
        found = at;
    return found;
}

} // namespace

QString AnalyticsSeries::shortened(const QString &text, qsizetype limit)
{
    if (limit < 2)
        return Text::leadingGraphemes(text, limit);
    // One character more than fits tells whether anything is left out and whether a line may
    // break right after the last one kept.
    const QString sample = oneLineHead(text, limit + 1);
    if (Text::graphemeCount(sample) <= limit)
        return withoutTrailingBlanks(sample);
    // Room for the ellipsis; blanks after the last word kept take none.
    const QString kept = Text::leadingGraphemes(sample, limit - 1);
    qsizetype reach = kept.size();
    while (reach < sample.size() - 1 && Text::isSpaceOrTab(sample.at(reach)))
        ++reach;
    QString cut = withoutTrailingBlanks(sample.left(lastBreakUpTo(sample, reach)));
    if (cut.isEmpty())
        cut = withoutTrailingBlanks(kept);
    if (cut.isEmpty())
        cut = kept;
    return cut + seriesEllipsis;
}

QString AnalyticsSeries::groupTitle(const QStringList &names)
{
    // What lies past the longest title shown makes no difference to it.
    QStringList heads;
    for (const QString &name : names) {
        const QString head = Text::leadingGraphemes(name, titleGraphemes + 1);
        if (!heads.contains(head))
            heads.append(head);
    }
    if (heads.size() <= 1)
        return heads.value(0);
    const QString &first = heads.first();
    qsizetype common = first.size();
    for (const QString &head : std::as_const(heads)) {
        qsizetype same = 0;
        while (same < common && same < head.size() && head.at(same) == first.at(same))
            ++same;
        common = same;
    }
    // The words all the names begin with: up to where they part when each of them ends a word
    // there (or ends), else up to the last place before where the first one may break a line.
    const bool wordsEndThere = std::all_of(heads.cbegin(), heads.cend(), [common](const QString &head) {
        return head.size() == common || Text::isSpaceOrTab(head.at(common))
            || lastBreakUpTo(head.left(common + 1), common) == common;
    });
    const qsizetype cut = wordsEndThere ? common : lastBreakUpTo(first.left(common + 1), common);
    QString words = withoutTrailingBlanks(first.left(cut));
    if (words.isEmpty())
        words = Text::leadingGraphemes(first, labelGraphemes);
    return words + seriesEllipsis;
}

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
    QList<QStringList> groupNames;
    for (qsizetype i = 0; i < charted; ++i) {
        const AnalyticsProjectRow &row = rows.at(i);
        const QString label = Text::leadingGraphemes(row.name, labelGraphemes);
        series.entries.append({row.id + QStringLiteral("-plan"), label, plan, Numbers::plotted(row.plannedCost)});
        series.entries.append({row.id + QStringLiteral("-done"), label, done, Numbers::plotted(row.doneCost)});
        series.entries.append({row.id + QStringLiteral("-paid"), label, paid, Numbers::plotted(row.paidCost)});

        const qsizetype at = series.barLabels.indexOf(label);
        if (at < 0) {
            series.barLabels.append(label);
            groupNames.append({row.name});
            series.barPlanned.append(row.plannedCost);
            series.barDone.append(row.doneCost);
            series.barPaid.append(row.paidCost);
        } else {
            if (!groupNames[at].contains(row.name))
                groupNames[at].append(row.name);
            series.barPlanned[at] += row.plannedCost;
            series.barDone[at] += row.doneCost;
            series.barPaid[at] += row.paidCost;
        }
    }

    for (const QStringList &names : std::as_const(groupNames)) {
        const QString title = groupTitle(names);
        series.barTitles.append(shortened(title, titleGraphemes));
        series.barShortTitles.append(shortened(title, shortTitleGraphemes));
        QStringList whole;
        for (const QString &name : names)
            whole.append(Text::boundedMessage(name));
        series.barNames.append(whole.join(QLatin1Char('\n')));
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
        // Divided first: the top may be the largest double.
        const double value = tick == axisTicks ? series.barAxisMaximum : series.barAxisMaximum / axisTicks * tick;
        series.barAxisTicks.append(value);
        const QString label =
            currencies.size() == 1 ? MoneyFormat::format(value, *currencies.cbegin()) : russian.toString(value, 'f', 0);
        // A mark stands on one line beside the plot.
        series.barAxisTickLabels.append(shortened(label, axisLabelGraphemes));
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
