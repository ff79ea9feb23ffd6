#include "FinanceProjectOptionsModel.h"

#include "API/FollowProjectsService.h"
#include "FinanceProjectOptionsBuilder.h"
#include "Utils/Text.h"

FinanceProjectOptionsModel::FinanceProjectOptionsModel(QObject *parent)
    : DiffedListModel(parent)
{
}

void FinanceProjectOptionsModel::setProjectsService(ProjectsService *service)
{
    if (!followProjectsService(this, m_service, service, &FinanceProjectOptionsModel::rebuild,
                               &FinanceProjectOptionsModel::update))
        return;
    rebuild();
    Q_EMIT projectsServiceChanged();
}

void FinanceProjectOptionsModel::setSearchText(const QString &text)
{
    if (m_searchText == text)
        return;
    m_searchText = text;
    update();
    Q_EMIT searchTextChanged();
}

FinanceProjectOptionsModel::State FinanceProjectOptionsModel::state() const
{
    return m_state;
}

void FinanceProjectOptionsModel::rebuild()
{
    m_options = FinanceProjectOptionsBuilder::build(m_service ? m_service->projects() : QList<Project>());
    update();
}

void FinanceProjectOptionsModel::update()
{
    const int before = count();
    replaceRows(FinanceProjectOptionsBuilder::filtered(m_options, m_searchText),
                [](const FinanceProjectOption &a, const FinanceProjectOption &b) { return a.id == b.id; });
    if (count() != before)
        Q_EMIT countChanged();

    State next = State::List;
    if (m_options.isEmpty())
        next = m_service && m_service->isLoading() ? State::Loading : State::Empty;
    if (next != m_state) {
        m_state = next;
        Q_EMIT stateChanged();
    }
}

QVariant FinanceProjectOptionsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rows().size())
        return {};
    const FinanceProjectOption &option = rows().at(index.row());
    switch (role) {
    case ProjectIdRole:
        return option.id;
    // Names from the backend, bounded for the layout; the search reads them whole.
    case TitleRole:
        return Text::boundedMessage(option.title);
    case SubtitleRole:
        return Text::boundedMessage(option.subtitle);
    case IsIterationRole:
        return option.isIteration;
    }
    return {};
}

QHash<int, QByteArray> FinanceProjectOptionsModel::roleNames() const
{
    return {{ProjectIdRole, "projectId"},
            {TitleRole, "title"},
            {SubtitleRole, "subtitle"},
            {IsIterationRole, "isIteration"}};
}

void FinanceProjectOptionsModel::refresh()
{
    if (!m_service)
        return;
    // The service publishes what the load brings; its task runs on by itself.
    QCoro::Task<void> loading = m_service->load(true);
    Q_UNUSED(loading);
}
