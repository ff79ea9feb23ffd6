#include "CreateIterationModel.h"
#include "SelectOption.h"

#include "Utils/Text.h"

#include <QVariantMap>

CreateIterationModel::CreateIterationModel(QObject *parent)
    : QObject(parent)
{
}

void CreateIterationModel::setProjectsService(ProjectsService *service)
{
    if (m_service == service)
        return;
    m_service = service;
    Q_EMIT projectsServiceChanged();
}

void CreateIterationModel::setRootProjectId(const QString &id)
{
    if (m_rootProjectId == id)
        return;
    m_rootProjectId = id;
    Q_EMIT rootProjectIdChanged();
}

void CreateIterationModel::setCopyFromCurrentItems(const QVariant &items)
{
    setCopyFromCurrentItems(items.metaType() == QMetaType::fromType<QList<ProjectItem>>()
                                ? items.value<QList<ProjectItem>>()
                                : QList<ProjectItem>());
}

void CreateIterationModel::setCopyFromCurrentItems(const QList<ProjectItem> &items)
{
    if (m_items == items)
        return;
    const bool hadLines = !m_items.isEmpty();
    m_items = items;
    Q_EMIT copyFromCurrentItemsChanged();
    if (hadLines != !m_items.isEmpty())
        Q_EMIT sourceHintChanged();
}

void CreateIterationModel::setName(const QString &name)
{
    if (m_name == name)
        return;
    m_name = name;
    Q_EMIT nameChanged();
}

void CreateIterationModel::setSourceRaw(const QString &raw)
{
    const std::optional<IterationSource> source = iterationSourceFromRaw(raw);
    if (!source || *source == m_source)
        return;
    m_source = *source;
    Q_EMIT sourceChanged();
    Q_EMIT sourceHintChanged();
}

void CreateIterationModel::setSubmitting(bool submitting)
{
    if (m_isSubmitting == submitting)
        return;
    m_isSubmitting = submitting;
    Q_EMIT isSubmittingChanged();
    Q_EMIT submitTextChanged();
}

QString CreateIterationModel::submitText() const
{
    if (m_isUnsettled)
        return QStringLiteral("Закрыть");
    return m_isSubmitting ? QStringLiteral("…") : QStringLiteral("Создать");
}

QVariantList CreateIterationModel::sourceOptions()
{
    QVariantList options;
    for (IterationSource source : allIterationSources)
        options.append(SelectOption::of(rawValue(source), label(source)));
    return options;
}

CreateIterationRequest CreateIterationModel::request(const QString &name, IterationSource source,
                                                     const QList<ProjectItem> &currentItems)
{
    CreateIterationRequest request;
    const QString trimmed = Text::trimmedSpacesAndTabs(name);
    if (!trimmed.isEmpty())
        request.iterationName = trimmed;
    switch (source) {
    case IterationSource::Server:
        request.copyBudget = true;
        break;
    case IterationSource::Form:
        request.copyBudget = false;
        request.items = currentItems;
        break;
    case IterationSource::Empty:
        request.copyBudget = false;
        request.items = QList<ProjectItem>();
        break;
    }
    return request;
}

void CreateIterationModel::submit()
{
    if (m_isSubmitting || m_isUnsettled || !m_service)
        return;
    setSubmitting(true);
    run(this, m_service, m_rootProjectId, request(m_name, m_source, m_items));
}

QCoro::Task<> CreateIterationModel::run(QPointer<CreateIterationModel> self, QPointer<ProjectsService> service,
                                        QString rootId, CreateIterationRequest request)
{
    QCoro::Task<ProjectCreation> pending = service->createIteration(rootId, std::move(request));
    const ProjectCreation creation = co_await std::move(pending);
    if (!self)
        co_return;
    if (creation.unsettled) {
        self->m_notice = service ? service->errorMessageText() : QString();
        self->m_isUnsettled = true;
    }
    // The confirmation is enabled again before the keys are put on it.
    self->setSubmitting(false);
    if (creation.unsettled)
        Q_EMIT self->unsettled();
    if (creation.project)
        Q_EMIT self->created(creation.project->id);
}
