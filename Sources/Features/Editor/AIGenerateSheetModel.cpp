#include "AIGenerateSheetModel.h"
#include "SelectOption.h"

#include "Data/EstimateCatalogLoader.h"
#include "Utils/APIDecoding.h"
#include "Utils/Text.h"

#include <QVariantMap>

namespace {

const QString defaultSphere = QStringLiteral("software");

} // namespace

AIGenerateSheetModel::AIGenerateSheetModel(QObject *parent)
    : QObject(parent)
{
}

void AIGenerateSheetModel::setEditor(ProjectEditorViewModel *editor)
{
    if (m_editor == editor)
        return;
    if (m_editor)
        disconnect(m_editor, nullptr, this, nullptr);
    m_editor = editor;
    if (m_editor)
        connect(m_editor, &ProjectEditorViewModel::currencyChanged, this, &AIGenerateSheetModel::budgetCapTitleChanged);
    Q_EMIT editorChanged();
    Q_EMIT budgetCapTitleChanged();
}

void AIGenerateSheetModel::setProjectsService(ProjectsService *service)
{
    if (m_projectsService == service)
        return;
    m_projectsService = service;
    // One AI service per sheet, on the client of the projects it serves.
    if (m_service)
        m_service->deleteLater();
    m_service = service ? new AIService(service->api(), this) : nullptr;
    if (m_service) {
        connect(m_service, &AIService::isGeneratingChanged, this, [this] {
            Q_EMIT isGeneratingChanged();
            Q_EMIT canGenerateChanged();
        });
        connect(m_service, &AIService::errorMessageChanged, this, &AIGenerateSheetModel::errorMessageChanged);
    }
    Q_EMIT projectsServiceChanged();
    Q_EMIT isGeneratingChanged();
    Q_EMIT canGenerateChanged();
    Q_EMIT errorMessageChanged();
}

void AIGenerateSheetModel::setRequirements(const QString &text)
{
    if (m_requirements == text)
        return;
    const bool could = canGenerate();
    m_requirements = text;
    Q_EMIT requirementsChanged();
    if (could != canGenerate())
        Q_EMIT canGenerateChanged();
}

void AIGenerateSheetModel::setModeRaw(const QString &raw)
{
    const std::optional<AIGenerateMode> mode = aiGenerateModeFromRaw(raw);
    if (!mode || *mode == m_mode)
        return;
    m_mode = *mode;
    Q_EMIT modeChanged();
}

void AIGenerateSheetModel::setAdditionalContext(const QString &text)
{
    if (m_additionalContext == text)
        return;
    m_additionalContext = text;
    Q_EMIT additionalContextChanged();
}

void AIGenerateSheetModel::setUseBudgetCap(bool on)
{
    if (m_useBudgetCap == on)
        return;
    m_useBudgetCap = on;
    Q_EMIT useBudgetCapChanged();
}

void AIGenerateSheetModel::setBudgetCapText(const QString &text)
{
    if (m_budgetCapText == text)
        return;
    m_budgetCapText = text;
    Q_EMIT budgetCapTextChanged();
}

QString AIGenerateSheetModel::budgetCapTitle() const
{
    return QStringLiteral("Потолок, ") + (m_editor ? m_editor->currency() : QString());
}

QVariantList AIGenerateSheetModel::modeOptions()
{
    QVariantList options;
    for (AIGenerateMode mode : allAIGenerateModes)
        options.append(SelectOption::of(rawValue(mode), displayName(mode)));
    return options;
}

bool AIGenerateSheetModel::meetsLengthRule(const QString &requirements)
{
    return Text::graphemeCount(Text::trimmedSpacesAndTabs(requirements)) >= 10;
}

GenerateEstimateRequest AIGenerateSheetModel::request() const
{
    Q_ASSERT(m_editor);
    GenerateEstimateRequest request;
    request.projectName = m_editor->name().isEmpty() ? QStringLiteral("Проект") : m_editor->name();
    request.requirements = m_requirements.trimmed();
    request.mode = rawValue(m_mode);
    if (!m_additionalContext.isEmpty())
        request.additionalContext = m_additionalContext;
    request.projectId = m_editor->projectId();
    if (!m_editor->clientName().isEmpty())
        request.clientName = m_editor->clientName();
    request.currency = m_editor->currency();
    request.defaultRate = m_editor->defaultRate();
    request.projectStatus = m_editor->statusRaw();
    // A ceiling that does not read is left out, without a word.
    if (m_useBudgetCap)
        request.targetBudgetMax = APIDecoding::parseLenientNumber(m_budgetCapText);
    return request;
}

QList<EditableEstimateItem> AIGenerateSheetModel::editableItems(const QList<AIGeneratedItem> &proposed,
                                                                double fallbackRate)
{
    QList<EditableEstimateItem> items;
    items.reserve(proposed.size());
    for (const AIGeneratedItem &line : proposed) {
        EditableEstimateItem item;
        item.title = line.title;
        item.description = line.description;
        item.category = EstimateCatalogLoader::normalizeCategory(line.category, defaultSphere);
        item.hours = line.hours;
        item.rate = line.rate > 0 ? line.rate : fallbackRate;
        item.isLocked = false;
        items.append(item);
    }
    return items;
}

void AIGenerateSheetModel::generate()
{
    if (!m_editor || !m_service || !canGenerate())
        return;
    run(this, m_service, request());
}

void AIGenerateSheetModel::applyAnswer(const QList<AIGeneratedItem> &proposed)
{
    // The default rate is read now, after the answer: it may have changed meanwhile.
    m_editor->setItems(editableItems(proposed, m_editor->defaultRate()));
    m_editor->markDirty();
    Q_EMIT succeeded();
}

QCoro::Task<> AIGenerateSheetModel::run(QPointer<AIGenerateSheetModel> self, QPointer<AIService> service,
                                        GenerateEstimateRequest request)
{
    QCoro::Task<std::optional<QList<AIGeneratedItem>>> pending = service->generate(std::move(request));
    const std::optional<QList<AIGeneratedItem>> answer = co_await std::move(pending);
    // A sheet or editor that went away meanwhile gets nothing; a replaced service's answer is stale.
    if (!answer || !self || !self->m_editor || self->m_service != service)
        co_return;
    self->applyAnswer(*answer);
}
