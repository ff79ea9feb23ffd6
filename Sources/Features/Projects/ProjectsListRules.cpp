#include "Features/Projects/ProjectsListRules.h"

#include "Models/ProjectStatus.h"
#include "Utils/MoneyFormat.h"
#include "Utils/NumberText.h"
#include "Projects/ProjectRoot.h"
#include "Utils/Text.h"

#include <QSet>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace ProjectsListRules {

namespace {

constexpr double gridSpacing = 12;

} // namespace

QString normalizedQuery(const QString &searchText)
{
    return searchText.trimmed().toLower();
}

QStringList searchTexts(const ProjectTreeGroup &group)
{
    QStringList texts{group.root.name.toLower()};
    if (group.root.clientName)
        texts.append(group.root.clientName->toLower());
    for (const Project &iteration : group.iterations) {
        texts.append(iteration.name.toLower());
        texts.append(ProjectRoot::iterationLabel(iteration).toLower());
    }
    return texts;
}

QStringList searchTexts(const Project &project)
{
    QStringList texts{project.name.toLower()};
    if (project.clientName)
        texts.append(project.clientName->toLower());
    return texts;
}

QList<qsizetype> matching(const QList<QStringList> &texts, const QString &query)
{
    QList<qsizetype> kept;
    kept.reserve(texts.size());
    for (qsizetype i = 0; i < texts.size(); ++i) {
        const QStringList &entry = texts.at(i);
        if (query.isEmpty()
            || std::any_of(entry.cbegin(), entry.cend(), [&](const QString &text) { return text.contains(query); }))
            kept.append(i);
    }
    return kept;
}

QList<ProjectTreeGroup> filterGroups(const QList<ProjectTreeGroup> &groups, const QString &query)
{
    QList<QStringList> texts;
    texts.reserve(groups.size());
    for (const ProjectTreeGroup &group : groups)
        texts.append(searchTexts(group));
    QList<ProjectTreeGroup> kept;
    for (const qsizetype at : matching(texts, query))
        kept.append(groups.at(at));
    return kept;
}

int iterationCount(const QList<Project> &projects, const QString &rootId)
{
    return int(std::count_if(projects.cbegin(), projects.cend(), [&](const Project &project) {
        return project.isIteration() && project.parentProjectId == rootId;
    }));
}

std::optional<QString> selectionAfterDelete(const QList<Project> &remaining, const Project &deleted)
{
    if (!deleted.isIteration())
        return std::nullopt;
    const Project *best = nullptr;
    for (const Project &project : remaining) {
        if (!project.isIteration() || project.parentProjectId != deleted.parentProjectId || project.id == deleted.id)
            continue;
        if (!best || project.version.value_or(0) >= best->version.value_or(0))
            best = &project;
    }
    return best ? best->id : *deleted.parentProjectId;
}

QString neighbourAfterRemoval(const QStringList &before, qsizetype removedAt, const QStringList &after)
{
    if (after.isEmpty())
        return {};
    const QSet<QString> shown(after.cbegin(), after.cend());
    for (qsizetype i = removedAt + 1; i < before.size(); ++i) {
        if (shown.contains(before.at(i)))
            return before.at(i);
    }
    for (qsizetype i = std::min(removedAt, before.size()) - 1; i >= 0; --i) {
        if (shown.contains(before.at(i)))
            return before.at(i);
    }
    return after.at(std::clamp<qsizetype>(removedAt, 0, after.size() - 1));
}

QString deleteDialogTitle(const std::optional<Project> &project)
{
    if (!project)
        return QStringLiteral("Удалить?");
    if (project->isIteration())
        return QStringLiteral("Удалить итерацию «") + Text::boundedMessage(ProjectRoot::iterationLabel(*project))
            + QStringLiteral("»?");
    return QStringLiteral("Удалить проект «") + Text::boundedMessage(project->name) + QStringLiteral("»?");
}

QString deleteDialogMessage(const std::optional<Project> &project, bool isGuest, const QList<Project> &projects)
{
    if (!project)
        return {};
    if (isGuest)
        return QStringLiteral("Запись будет удалена только с этого устройства.");
    if (project->isIteration())
        return QStringLiteral("Будет удалена только эта итерация. Остальные версии и корень проекта сохранятся.");
    const int count = iterationCount(projects, project->id);
    if (count == 0)
        return QStringLiteral("Проект исчезнет в облаке и на всех устройствах. Действие необратимо.");
    return QStringLiteral("Сначала удалите %1 итераций по отдельности (ПКМ → «Удалить итерацию»). Корень проекта "
                          "удалить нельзя, пока они есть.")
        .arg(count);
}

QString deleteConfirmTitle(const std::optional<Project> &project)
{
    return project && project->isIteration() ? QStringLiteral("Удалить итерацию") : QStringLiteral("Удалить проект");
}

QString deleteEntryTitle(const Project &project, int listedIterations)
{
    if (project.isIteration())
        return QStringLiteral("Удалить итерацию");
    return listedIterations > 0 ? QString() : QStringLiteral("Удалить проект");
}

QHash<QString, int> iterationCounts(const QList<Project> &projects)
{
    QHash<QString, int> counts;
    for (const Project &project : projects) {
        if (project.isIteration())
            ++counts[*project.parentProjectId];
    }
    return counts;
}

QString treeRowTitle(const Project &project, bool isIteration)
{
    if (isIteration)
        return Text::boundedMessage(ProjectRoot::iterationLabel(project));
    const QString name = project.name.trimmed();
    return name.isEmpty() ? QStringLiteral("Без названия") : Text::boundedMessage(name);
}

QString treeRowSubtitle(const Project &project, bool isIteration)
{
    const QStringList parts{isIteration ? project.name.trimmed() : project.clientName.value_or(QString()),
                            MoneyFormat::format(project.totalCost, project.currency), label(project.status)};
    QStringList kept;
    for (const QString &part : parts) {
        if (!part.isEmpty())
            kept.append(part);
    }
    return Text::boundedMessage(kept.join(QStringLiteral(" · ")));
}

QString cardHoursText(double hours)
{
    return NumberText::fixed(hours, 1) + QStringLiteral(" ч");
}

QString cardCostText(double cost, const QString &currency)
{
    return NumberText::fixed(cost, 0) + QLatin1Char(' ') + currency;
}

QString storageNote(const Project &project, const QString &footnote)
{
    if (!footnote.isEmpty())
        return footnote;
    if (project.id.startsWith(QLatin1String("local-")) || project.userId == QLatin1String("guest"))
        return QStringLiteral("На устройстве");
    return {};
}

QString treeRowSpokenDescription(const QString &subtitle, int iterationCount, bool isIteration)
{
    QStringList parts;
    if (!subtitle.isEmpty())
        parts << subtitle;
    if (iterationCount > 0)
        parts << QStringLiteral("итераций: %1").arg(iterationCount);
    parts << QStringLiteral("уровень %1").arg(isIteration ? 2 : 1);
    return parts.join(QStringLiteral(", "));
}

QString cardSpokenDescription(const QStringList &texts)
{
    QStringList parts;
    for (const QString &text : texts) {
        if (!text.isEmpty())
            parts << text;
    }
    return parts.join(QStringLiteral(", "));
}

int cardColumns(double width, bool compact)
{
    const double minimum = compact ? 280 : 300;
    if (!std::isfinite(width) || width <= minimum)
        return 1;
    return std::max(1, int(std::floor((width + gridSpacing) / (minimum + gridSpacing))));
}

double contentWidthCap(double windowWidth)
{
    if (windowWidth < 520)
        return 0;
    return windowWidth < 900 ? 520 : 640;
}

} // namespace ProjectsListRules
