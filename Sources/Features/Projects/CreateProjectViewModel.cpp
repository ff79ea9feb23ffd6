#include "Features/Projects/CreateProjectViewModel.h"

#include "Settings/TemplateLibrary.h"
#include "Utils/Text.h"

CreateProjectViewModel::CreateProjectViewModel(QObject *parent)
    : QObject(parent)
    , m_currency(currencies().constFirst())
    , m_sphereId(TemplateLibrary::defaultSphereId())
    , m_templates(new TemplateCardsModel(this))
{
    m_templates->setTemplates(TemplateLibrary::all(m_sphereId));
    connect(m_templates, &TemplateCardsModel::selectedIndexChanged, this,
            &CreateProjectViewModel::selectedTemplateChanged);
}

void CreateProjectViewModel::setList(ProjectsListViewModel *list)
{
    if (m_list == list)
        return;
    m_list = list;
    Q_EMIT listChanged();
}

void CreateProjectViewModel::setName(const QString &name)
{
    if (m_name == name)
        return;
    const bool could = canSubmit();
    m_name = name;
    Q_EMIT nameChanged();
    if (canSubmit() != could)
        Q_EMIT canSubmitChanged();
}

void CreateProjectViewModel::setClientName(const QString &clientName)
{
    if (m_clientName == clientName)
        return;
    m_clientName = clientName;
    Q_EMIT clientNameChanged();
}

void CreateProjectViewModel::setCurrency(const QString &currency)
{
    if (m_currency == currency)
        return;
    m_currency = currency;
    Q_EMIT currencyChanged();
}

QStringList CreateProjectViewModel::currencies()
{
    return {QStringLiteral("RUB"), QStringLiteral("USD"), QStringLiteral("EUR")};
}

void CreateProjectViewModel::setSphereId(const QString &sphereId)
{
    if (m_sphereId == sphereId)
        return;
    m_sphereId = sphereId;
    m_templates->setTemplates(TemplateLibrary::all(m_sphereId));
    Q_EMIT sphereIdChanged();
}

bool CreateProjectViewModel::canSubmit() const
{
    return !m_isSubmitting && !m_isUnsettled && !Text::trimmedSpacesAndTabs(m_name).isEmpty();
}

QString CreateProjectViewModel::confirmText() const
{
    if (m_isUnsettled)
        return QStringLiteral("Закрыть");
    return m_isSubmitting ? QStringLiteral("…") : QStringLiteral("Создать");
}

void CreateProjectViewModel::selectTemplate(int index)
{
    m_templates->setSelectedIndex(index);
}

void CreateProjectViewModel::clearTemplate()
{
    m_templates->setSelectedIndex(-1);
}

void CreateProjectViewModel::setSubmitting(bool submitting)
{
    if (m_isSubmitting == submitting)
        return;
    m_isSubmitting = submitting;
    Q_EMIT isSubmittingChanged();
    Q_EMIT confirmTextChanged();
    Q_EMIT canSubmitChanged();
}

void CreateProjectViewModel::submit()
{
    const QString name = Text::trimmedSpacesAndTabs(m_name);
    if (!canSubmit())
        return;
    setSubmitting(true);
    const QString client = Text::trimmedSpacesAndTabs(m_clientName);
    runSubmit(this, m_list, name, client.isEmpty() ? std::nullopt : std::optional<QString>(client), m_currency,
              m_sphereId, m_templates->selectedTemplate());
}

QCoro::Task<> CreateProjectViewModel::runSubmit(QPointer<CreateProjectViewModel> self,
                                                QPointer<ProjectsListViewModel> list, QString name,
                                                std::optional<QString> clientName, QString currency, QString sphereId,
                                                std::optional<EstimateTemplate> estimateTemplate)
{
    auto creating = ProjectsListViewModel::create(list, std::move(name), std::move(clientName), std::move(currency),
                                                  std::move(sphereId), std::move(estimateTemplate));
    const ProjectCreation creation = co_await std::move(creating);
    if (!self)
        co_return;
    if (creation.unsettled) {
        // The service's reason, as the list's banner shows it behind the sheet.
        const ProjectsService *service = list ? list->projectsService() : nullptr;
        self->m_notice = service ? service->errorMessageText() : QString();
        self->m_isUnsettled = true;
    }
    // The confirmation is enabled again before the keys are put on it.
    self->setSubmitting(false);
    if (creation.unsettled)
        Q_EMIT self->unsettled();
    if (creation.project)
        Q_EMIT self->created();
}
