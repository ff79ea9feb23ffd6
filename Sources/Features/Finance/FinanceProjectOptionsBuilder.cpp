#include "FinanceProjectOptionsBuilder.h"

#include "Utils/MoneyFormat.h"
#include "Utils/ProjectRoot.h"
#include "Utils/ProjectTreeBuilder.h"

#include <QStringList>

namespace {

FinanceProjectOption option(const Project &project, bool isIteration, bool indent)
{
    QStringList parts;
    // A client of blanks stays: only an empty one is dropped.
    if (project.clientName && !project.clientName->isEmpty())
        parts.append(*project.clientName);
    const QString money = MoneyFormat::format(project.totalCost, project.currency);
    if (!money.isEmpty())
        parts.append(money);
    parts.append(label(project.status));
    return FinanceProjectOption{
        project.id,
        project,
        indent ? QStringLiteral("  ") + ProjectRoot::iterationLabel(project) : project.name,
        parts.join(QStringLiteral(" · ")),
        isIteration,
    };
}

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

} // namespace

namespace FinanceProjectOptionsBuilder {

QList<FinanceProjectOption> build(const QList<Project> &projects)
{
    QList<FinanceProjectOption> options;
    options.reserve(projects.size());
    for (const ProjectTreeGroup &group : ProjectTreeBuilder::build(projects)) {
        // A group headed by an iteration holds an orphan: listed as an iteration, not indented.
        options.append(option(group.root, group.root.isIteration(), false));
        for (const Project &iteration : group.iterations)
            options.append(option(iteration, true, true));
    }
    return options;
}

QString normalizedQuery(const QString &searchText)
{
    qsizetype begin = 0;
    qsizetype end = searchText.size();
    while (begin < end && isBlank(searchText.at(begin)))
        ++begin;
    while (end > begin && isBlank(searchText.at(end - 1)))
        --end;
    return searchText.mid(begin, end - begin).toLower();
}

QList<FinanceProjectOption> filtered(const QList<FinanceProjectOption> &options, const QString &searchText)
{
    const QString query = normalizedQuery(searchText);
    if (query.isEmpty())
        return options;
    QList<FinanceProjectOption> matches;
    for (const FinanceProjectOption &candidate : options) {
        if (candidate.title.toLower().contains(query) || candidate.subtitle.toLower().contains(query))
            matches.append(candidate);
    }
    return matches;
}

} // namespace FinanceProjectOptionsBuilder
