#include "FinanceProjectOptionsBuilder.h"

#include "Utils/MoneyFormat.h"
#include "Projects/ProjectRoot.h"
#include "Projects/ProjectTreeBuilder.h"

#include <QStringList>

namespace {

FinanceProjectOption option(Project project, bool isIteration, bool indent)
{
    QStringList parts;
    // A client of blanks stays: only an empty one is dropped.
    if (project.clientName && !project.clientName->isEmpty())
        parts.append(*project.clientName);
    const QString money = MoneyFormat::format(project.totalCost, project.currency);
    if (!money.isEmpty())
        parts.append(money);
    parts.append(label(project.status));
    QString id = project.id;
    QString title = indent ? QStringLiteral("  ") + ProjectRoot::iterationLabel(project) : project.name;
    return FinanceProjectOption{std::move(id), std::move(project), std::move(title), parts.join(QStringLiteral(" · ")),
                                isIteration};
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
    QList<ProjectTreeGroup> groups = ProjectTreeBuilder::build(projects);
    for (ProjectTreeGroup &group : groups) {
        // A group headed by an iteration holds an orphan: listed as an iteration, not indented.
        const bool orphan = group.root.isIteration();
        options.append(option(std::move(group.root), orphan, false));
        for (Project &iteration : group.iterations)
            options.append(option(std::move(iteration), true, true));
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
