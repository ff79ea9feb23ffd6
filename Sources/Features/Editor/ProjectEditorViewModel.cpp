#include "ProjectEditorViewModel.h"

#include "SelectOption.h"

#include "API/APIError.h"
#include "Data/EstimateCatalogLoader.h"
#include "Utils/APIDecoding.h"
#include "Projects/EstimateValidation.h"
#include "Utils/LineCost.h"
#include "Utils/MoneyFormat.h"
#include "Utils/NumberText.h"
#include "Utils/Numbers.h"
#include "Utils/Text.h"

#include <QHash>
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace {

const QString defaultSphere = QStringLiteral("software");

// Hours or a rate as the totals and the save count them: below 0, or not a number, is 0.
double nonNegative(double value)
{
    return value > 0 ? value : 0;
}

// Plain string order by Unicode scalar value. QString's operator< compares UTF-16 units, which
// puts a character beyond U+FFFF (a surrogate pair) before U+E000..U+FFFF.
bool precedesByScalarValue(const QString &a, const QString &b)
{
    const qsizetype shorter = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < shorter; ++i) {
        char16_t x = a.at(i).unicode();
        char16_t y = b.at(i).unicode();
        if (x == y)
            continue;
        // Surrogates move above the rest of the BMP; pairs then compare in scalar order.
        if (x >= 0xD800 && y >= 0xD800) {
            x = x >= 0xE000 ? char16_t(x - 0x800) : char16_t(x + 0x2000);
            y = y >= 0xE000 ? char16_t(y - 0x800) : char16_t(y + 0x2000);
        }
        return x < y;
    }
    return a.size() < b.size();
}

// Descending order in which a key that is not a number is the smallest; NaNs are equal to each
// other, so the ordering stays a strict weak one for the stable sort.
bool sortsBefore(double a, double b)
{
    const bool aIsNaN = std::isnan(a);
    const bool bIsNaN = std::isnan(b);
    if (aIsNaN || bIsNaN)
        return !aIsNaN && bIsNaN;
    return a > b;
}

EditableEstimateItem editableItem(const ProjectItem &stored, double fallbackRate)
{
    EditableEstimateItem item;
    item.title = stored.title;
    item.description = stored.description.value_or(QString());
    item.category = EstimateCatalogLoader::normalizeCategory(stored.category, defaultSphere);
    item.hours = stored.hours;
    item.rate = stored.rate > 0 ? stored.rate : fallbackRate;
    item.isLocked = stored.isLocked;
    return item;
}

ProjectTypeOption projectTypeOf(const Project &project)
{
    return project.projectType == QStringLiteral("iterative") ? ProjectTypeOption::Iterative
                                                              : ProjectTypeOption::OneTime;
}

// The distinct categories of the lines in section order, each with its lines in list order.
QList<std::pair<QString, QList<EditableEstimateItem>>> groupedByCategory(const QList<EditableEstimateItem> &items)
{
    QHash<QString, qsizetype> indexOf;
    QList<std::pair<QString, QList<EditableEstimateItem>>> groups;
    for (const EditableEstimateItem &item : items) {
        auto found = indexOf.constFind(item.category);
        if (found == indexOf.constEnd()) {
            found = indexOf.insert(item.category, groups.size());
            groups.append({item.category, {}});
        }
        groups[*found].second.append(item);
    }
    std::sort(groups.begin(), groups.end(),
              [](const auto &a, const auto &b) { return precedesByScalarValue(a.first, b.first); });
    return groups;
}

QList<EstimateSection> categorySections(const QList<EditableEstimateItem> &items, const QString &currency)
{
    QList<EstimateSection> sections;
    for (auto &[category, lines] : groupedByCategory(items)) {
        double hours = 0;
        double money = 0;
        for (const EditableEstimateItem &line : std::as_const(lines)) {
            hours += nonNegative(line.hours);
            money += LineCost::clamped(line.hours, line.rate);
        }
        EstimateSection section;
        section.id = category;
        section.title = EstimateCatalogLoader::categoryName(category, defaultSphere);
        section.subtitle = NumberText::fixed(hours, 1) + QStringLiteral(" ч · ") + MoneyFormat::format(money, currency);
        section.items = std::move(lines);
        sections.append(std::move(section));
    }
    return sections;
}

QList<EstimateSection> sortedSection(const QList<EditableEstimateItem> &items, EstimateGroupMode mode)
{
    if (items.isEmpty())
        return {};
    // Keys on the values as stored, unclamped.
    std::vector<std::pair<double, qsizetype>> keys;
    keys.reserve(items.size());
    for (qsizetype i = 0; i < items.size(); ++i) {
        const EditableEstimateItem &item = items.at(i);
        keys.emplace_back(mode == EstimateGroupMode::CostDesc ? item.hours * item.rate : item.hours, i);
    }
    std::stable_sort(keys.begin(), keys.end(),
                     [](const auto &a, const auto &b) { return sortsBefore(a.first, b.first); });
    EstimateSection section;
    section.id = QStringLiteral("all");
    section.title = mode == EstimateGroupMode::CostDesc ? QStringLiteral("По стоимости") : QStringLiteral("По часам");
    section.subtitle = QString::number(items.size()) + QStringLiteral(" строк");
    section.items.reserve(items.size());
    for (const auto &key : keys)
        section.items.append(items.at(key.second));
    return {section};
}

} // namespace

ProjectEditorViewModel::ProjectEditorViewModel(QObject *parent)
    : QObject(parent)
    , m_sections(new EstimateSectionsModel(this))
{
    refreshTotals();
}

ProjectEditorViewModel::ProjectEditorViewModel(const Project &project, ProjectsService *projectsService,
                                               QObject *parent)
    : ProjectEditorViewModel(parent)
{
    m_projectsService = projectsService;
    load(project);
}

void ProjectEditorViewModel::load(const Project &project)
{
    ++m_generation;
    m_saveAgain = false;
    // A newer copy of the same project keeps the rows where they stand.
    const auto refresh =
        project.id == m_projectId ? EstimateSectionsModel::Refresh::Reload : EstimateSectionsModel::Refresh::Regroup;
    if (m_groupMode != EstimateGroupMode::Category) {
        m_groupMode = EstimateGroupMode::Category;
        Q_EMIT groupModeChanged();
    }
    setSaveState(EditorSaveState::idle());
    setValidationMessage(std::nullopt);
    m_projectId = project.id;
    m_parentProjectId = project.parentProjectId;
    m_baseProjectId = project.baseProjectId;
    Q_EMIT projectChanged();
    setProjectTypeOption(projectTypeOf(project));

    double effectiveRate = 50;
    if (project.defaultRate)
        effectiveRate = *project.defaultRate;
    else if (!project.items.isEmpty())
        effectiveRate = project.items.first().rate;
    applyProject(project, effectiveRate, refresh);
    m_savedSnapshot = currentSnapshot();
    refreshDirty();
}

void ProjectEditorViewModel::loadProject(const QVariant &project)
{
    if (project.metaType() == QMetaType::fromType<Project>())
        load(project.value<Project>());
}

void ProjectEditorViewModel::setProjectsService(ProjectsService *service)
{
    if (m_projectsService == service)
        return;
    m_projectsService = service;
    Q_EMIT projectsServiceChanged();
}

QString ProjectEditorViewModel::iterationRootId() const
{
    if (m_parentProjectId && *m_parentProjectId != m_projectId)
        return *m_parentProjectId;
    if (m_baseProjectId && *m_baseProjectId != m_projectId)
        return *m_baseProjectId;
    return m_projectId;
}

void ProjectEditorViewModel::setName(const QString &name)
{
    if (m_name == name)
        return;
    m_name = name;
    Q_EMIT nameChanged();
    refreshDirty();
}

void ProjectEditorViewModel::setClientName(const QString &clientName)
{
    if (m_clientName == clientName)
        return;
    m_clientName = clientName;
    Q_EMIT clientNameChanged();
    refreshDirty();
}

QString ProjectEditorViewModel::shownName() const
{
    return Text::boundedMessage(m_name);
}

QString ProjectEditorViewModel::shownClientName() const
{
    return Text::boundedMessage(m_clientName);
}

void ProjectEditorViewModel::setCurrency(const QString &currency)
{
    if (m_currency == currency)
        return;
    m_currency = currency;
    Q_EMIT currencyChanged();
    // Subtitles and the money total are in the currency.
    refreshSections(EstimateSectionsModel::Refresh::Edit);
    refreshTotals();
    refreshDirty();
}

void ProjectEditorViewModel::setStatus(ProjectStatus status)
{
    if (m_status == status)
        return;
    m_status = status;
    Q_EMIT statusChanged();
    refreshDirty();
}

void ProjectEditorViewModel::setStatusRaw(const QString &raw)
{
    if (const std::optional<ProjectStatus> status = projectStatusFromRaw(raw))
        setStatus(*status);
}

void ProjectEditorViewModel::setDefaultRate(double rate)
{
    if (m_defaultRate == rate)
        return;
    m_defaultRate = rate;
    Q_EMIT defaultRateChanged();
    refreshDirty();
}

QString ProjectEditorViewModel::defaultRateText() const
{
    return NumberText::shortest(m_defaultRate);
}

void ProjectEditorViewModel::setItems(QList<EditableEstimateItem> items)
{
    m_items = std::move(items);
    itemsDidChange();
}

void ProjectEditorViewModel::setGroupMode(EstimateGroupMode mode)
{
    if (m_groupMode == mode)
        return;
    m_groupMode = mode;
    Q_EMIT groupModeChanged();
    refreshSections(EstimateSectionsModel::Refresh::Regroup);
}

void ProjectEditorViewModel::setGroupModeRaw(const QString &raw)
{
    if (const std::optional<EstimateGroupMode> mode = estimateGroupModeFromRaw(raw))
        setGroupMode(*mode);
}

void ProjectEditorViewModel::setProjectTypeOption(ProjectTypeOption option)
{
    if (m_projectTypeOption == option)
        return;
    m_projectTypeOption = option;
    Q_EMIT projectTypeChanged();
}

void ProjectEditorViewModel::setProjectTypeRaw(const QString &raw)
{
    if (const std::optional<ProjectTypeOption> option = projectTypeOptionFromRaw(raw))
        setProjectTypeOption(*option);
}

QVariantList ProjectEditorViewModel::groupModeOptions() const
{
    QVariantList options;
    for (const EstimateGroupMode mode : allEstimateGroupModes)
        options.append(SelectOption::of(rawValue(mode), label(mode)));
    return options;
}

QVariantList ProjectEditorViewModel::statusOptions() const
{
    QVariantList options;
    for (const ProjectStatus status : allProjectStatuses)
        options.append(SelectOption::of(rawValue(status), label(status)));
    return options;
}

QVariantList ProjectEditorViewModel::projectTypeOptions() const
{
    QVariantList options;
    for (const ProjectTypeOption option : allProjectTypeOptions)
        options.append(SelectOption::of(rawValue(option), label(option)));
    return options;
}

ProjectEditorViewModel::Snapshot ProjectEditorViewModel::currentSnapshot() const
{
    return Snapshot{m_name, m_clientName, m_currency, m_status, m_defaultRate, m_items};
}

void ProjectEditorViewModel::setSaveState(const EditorSaveState &state)
{
    if (m_saveState == state)
        return;
    m_saveState = state;
    Q_EMIT saveStateChanged();
}

void ProjectEditorViewModel::setValidationMessage(const std::optional<QString> &message)
{
    if (m_validationMessage == message)
        return;
    m_validationMessage = message;
    Q_EMIT validationMessageChanged();
}

void ProjectEditorViewModel::applyProject(const Project &project, double fallbackRate,
                                          EstimateSectionsModel::Refresh refresh)
{
    // Members first and signals after, so that no observer sees half a project.
    const bool nameDiffers = std::exchange(m_name, project.name) != project.name;
    const QString client = project.clientName.value_or(QString());
    const bool clientDiffers = std::exchange(m_clientName, client) != client;
    const bool currencyDiffers = std::exchange(m_currency, project.currency) != project.currency;
    const bool statusDiffers = std::exchange(m_status, project.status) != project.status;
    const bool rateDiffers = !(std::exchange(m_defaultRate, fallbackRate) == fallbackRate);
    m_items.clear();
    m_items.reserve(project.items.size());
    for (const ProjectItem &stored : project.items)
        m_items.append(editableItem(stored, fallbackRate));

    if (nameDiffers)
        Q_EMIT nameChanged();
    if (clientDiffers)
        Q_EMIT clientNameChanged();
    if (currencyDiffers)
        Q_EMIT currencyChanged();
    if (statusDiffers)
        Q_EMIT statusChanged();
    if (rateDiffers)
        Q_EMIT defaultRateChanged();
    Q_EMIT itemsChanged();
    // Every line has a new identity: rows are kept by their place.
    refreshSections(refresh);
    refreshTotals();
}

void ProjectEditorViewModel::itemsDidChange()
{
    Q_EMIT itemsChanged();
    refreshSections(EstimateSectionsModel::Refresh::Edit);
    refreshTotals();
    refreshDirty();
}

void ProjectEditorViewModel::refreshSections(EstimateSectionsModel::Refresh refresh)
{
    m_sections->setCurrency(m_currency);
    m_sections->setSections(m_groupMode == EstimateGroupMode::Category ? categorySections(m_items, m_currency)
                                                                       : sortedSection(m_items, m_groupMode),
                            refresh);
}

void ProjectEditorViewModel::refreshTotals()
{
    double hours = 0;
    double money = 0;
    for (const EditableEstimateItem &item : std::as_const(m_items)) {
        hours += nonNegative(item.hours);
        money += LineCost::clamped(item.hours, item.rate);
    }
    QString hoursText = NumberText::fixed(Numbers::roundedToCents(hours), 1);
    QString costText = MoneyFormat::format(Numbers::roundedToCents(money), m_currency);
    if (hoursText == m_totalHoursText && costText == m_totalCostText)
        return;
    m_totalHoursText = std::move(hoursText);
    m_totalCostText = std::move(costText);
    Q_EMIT totalsChanged();
}

void ProjectEditorViewModel::refreshDirty()
{
    const bool dirty = !(currentSnapshot() == m_savedSnapshot);
    if (dirty == m_isDirty)
        return;
    m_isDirty = dirty;
    Q_EMIT isDirtyChanged();
}

void ProjectEditorViewModel::markDirty()
{
    setValidationMessage(std::nullopt);
    if (m_saveState.kind == EditorSaveState::Kind::Saved || m_saveState.kind == EditorSaveState::Kind::Error)
        setSaveState(EditorSaveState::idle());
}

void ProjectEditorViewModel::sessionReturned()
{
    if (m_saveState == EditorSaveState::error(APIError::unauthorized().errorDescription()))
        setSaveState(EditorSaveState::idle());
}

void ProjectEditorViewModel::updateItem(const QUuid &id, const std::function<void(EditableEstimateItem &)> &transform)
{
    const auto found =
        std::find_if(m_items.begin(), m_items.end(), [&id](const EditableEstimateItem &item) { return item.id == id; });
    if (found == m_items.end())
        return;
    transform(*found);
    itemsDidChange();
    markDirty();
}

void ProjectEditorViewModel::deleteItem(const QUuid &id)
{
    if (m_items.removeIf([&id](const EditableEstimateItem &item) { return item.id == id; }) > 0)
        itemsDidChange();
    markDirty();
}

void ProjectEditorViewModel::applyDefaultRateToUnlocked()
{
    bool changed = false;
    for (EditableEstimateItem &item : m_items) {
        if (item.isLocked || item.rate == m_defaultRate)
            continue;
        item.rate = m_defaultRate;
        changed = true;
    }
    if (changed)
        itemsDidChange();
    markDirty();
}

void ProjectEditorViewModel::applyTemplateValue(const QVariant &estimateTemplate, bool replace)
{
    if (estimateTemplate.metaType() == QMetaType::fromType<EstimateTemplate>())
        applyTemplate(estimateTemplate.value<EstimateTemplate>(), replace);
}

void ProjectEditorViewModel::applyTemplate(const EstimateTemplate &estimateTemplate, bool replace)
{
    setDefaultRate(estimateTemplate.defaultRate);
    QList<EditableEstimateItem> items = replace ? QList<EditableEstimateItem>() : m_items;
    items.reserve(items.size() + estimateTemplate.items.size());
    for (const EstimateTemplateItem &line : estimateTemplate.items) {
        EditableEstimateItem item;
        item.title = line.title;
        item.description = line.description.value_or(QString());
        item.category = EstimateCatalogLoader::normalizeCategory(line.category, defaultSphere);
        item.hours = line.hours;
        item.rate = line.rate > 0 ? line.rate : estimateTemplate.defaultRate;
        item.isLocked = line.isLocked;
        items.append(item);
    }
    setItems(std::move(items));
    markDirty();
}

void ProjectEditorViewModel::syncFromServer(const Project &project)
{
    applyProject(project, project.defaultRate.value_or(m_defaultRate), EstimateSectionsModel::Refresh::Reload);
    setProjectTypeOption(projectTypeOf(project));
    m_savedSnapshot = currentSnapshot();
    refreshDirty();
}

void ProjectEditorViewModel::moveItems(const QString &sectionId, const QList<int> &offsets, int destination)
{
    QList<EditableEstimateItem> section;
    for (const EditableEstimateItem &item : std::as_const(m_items)) {
        if (item.category == sectionId)
            section.append(item);
    }
    QList<int> moving = offsets;
    std::sort(moving.begin(), moving.end());
    moving.erase(std::unique(moving.begin(), moving.end()), moving.end());
    if (section.isEmpty() || moving.isEmpty() || moving.first() < 0 || moving.last() >= section.size()
        || destination < 0 || destination > section.size())
        return;

    QList<EditableEstimateItem> moved;
    QList<EditableEstimateItem> staying;
    int stayingBeforeDestination = 0;
    for (int i = 0; i < section.size(); ++i) {
        if (std::binary_search(moving.begin(), moving.end(), i)) {
            moved.append(section.at(i));
        } else {
            staying.append(section.at(i));
            if (i < destination)
                ++stayingBeforeDestination;
        }
    }
    for (qsizetype i = 0; i < moved.size(); ++i)
        staying.insert(stayingBeforeDestination + i, moved.at(i));

    QList<EditableEstimateItem> items;
    items.reserve(m_items.size());
    for (auto &[category, lines] : groupedByCategory(m_items))
        items.append(category == sectionId ? staying : lines);
    setItems(std::move(items));
    markDirty();
}

QVariant ProjectEditorViewModel::parseNumber(const QString &text) const
{
    const std::optional<double> value = APIDecoding::parseLenientNumber(text);
    return value ? QVariant(*value) : QVariant();
}

void ProjectEditorViewModel::setDefaultRateFromText(const QString &text)
{
    if (const std::optional<double> rate = APIDecoding::parseLenientNumber(text))
        setDefaultRate(*rate);
    markDirty();
}

QList<ProjectItem> ProjectEditorViewModel::projectItems(const QList<EditableEstimateItem> &items)
{
    QList<ProjectItem> lines;
    lines.reserve(items.size());
    for (const EditableEstimateItem &item : items) {
        ProjectItem line;
        line.title = Text::trimmedSpacesAndTabs(item.title);
        if (!item.description.isEmpty())
            line.description = item.description;
        line.category = item.category;
        line.hours = nonNegative(item.hours);
        line.rate = nonNegative(item.rate);
        line.isLocked = item.isLocked;
        lines.append(std::move(line));
    }
    return lines;
}

UpdateProjectRequest ProjectEditorViewModel::updateRequest() const
{
    UpdateProjectRequest request;
    request.name = Text::trimmedSpacesAndTabs(m_name);
    const QString client = Text::trimmedSpacesAndTabs(m_clientName);
    if (!client.isEmpty())
        request.clientName = client;
    request.currency = m_currency;
    request.status = m_status;
    request.defaultRate = m_defaultRate;
    request.items = projectItems(m_items);
    request.projectType = rawValue(m_projectTypeOption);
    return request;
}

namespace {

// A line's title as a message quotes it: short enough to leave the message readable.
QString quotedTitle(const QString &title)
{
    constexpr qsizetype shown = 20;
    const QString kept = Text::leadingGraphemes(title, shown);
    return kept.size() < title.size() ? kept.trimmed() + QStringLiteral("…") : kept;
}

} // namespace

std::optional<QString> ProjectEditorViewModel::totalsOverflowMessage(const UpdateProjectRequest &request)
{
    const QList<ProjectItem> items = request.items.value_or(QList<ProjectItem>());
    const double fallbackRate = request.defaultRate.value_or(0.0);
    const auto cost = [&](const ProjectItem &item) {
        return LineCost::withFallback(item.hours, item.rate, fallbackRate);
    };
    double hours = 0;
    double money = 0;
    for (const ProjectItem &item : items) {
        hours += nonNegative(item.hours);
        money += cost(item);
    }
    if (std::isfinite(hours) && std::isfinite(money))
        return std::nullopt;
    // The line that weighs most in the sum that overflowed.
    const bool hoursOverflow = !std::isfinite(hours);
    const auto weight = [&](const ProjectItem &item) { return hoursOverflow ? nonNegative(item.hours) : cost(item); };
    const auto heaviest =
        std::max_element(items.cbegin(), items.cend(),
                         [&](const ProjectItem &a, const ProjectItem &b) { return weight(a) < weight(b); });
    const QString line = heaviest == items.cend() ? QString() : quotedTitle(heaviest->title);
    // What to change first, then where: a narrow status line cuts the end.
    return hoursOverflow ? QStringLiteral("Слишком много часов: уменьшите часы. Строка «%1»").arg(line)
                         : QStringLiteral("Итог слишком велик: уменьшите часы или ставку. Строка «%1»").arg(line);
}

void ProjectEditorViewModel::save()
{
    // Asked for again while a save runs: once it is over, the copy as it is then is saved too, so
    // that what is stored ends as what is shown. Further asks fold into that one.
    if (m_saveState.kind == EditorSaveState::Kind::Saving) {
        m_saveAgain = true;
        return;
    }
    startSave();
}

void ProjectEditorViewModel::startSave()
{
    m_saveAgain = false;
    setValidationMessage(EstimateValidation::validate(m_items, m_name));
    if (m_validationMessage) {
        setSaveState(EditorSaveState::error(*m_validationMessage));
        const std::optional<qsizetype> line = EstimateValidation::invalidLine(m_items, m_name);
        Q_EMIT validationFailed(line ? m_items.at(*line).id.toString(QUuid::WithoutBraces) : QString());
        Q_EMIT finished(false);
        return;
    }
    if (!m_projectsService) {
        setSaveState(EditorSaveState::error(QStringLiteral("Не удалось сохранить")));
        Q_EMIT finished(false);
        return;
    }
    UpdateProjectRequest request = updateRequest();
    // Nothing is sent or written that could not be stored whole; the edits stay.
    setValidationMessage(totalsOverflowMessage(request));
    if (m_validationMessage) {
        setSaveState(EditorSaveState::error(*m_validationMessage));
        Q_EMIT finished(false);
        return;
    }
    setSaveState(EditorSaveState::saving());
    runSave(this, m_projectsService, std::move(request), currentSnapshot(), m_projectTypeOption, m_generation);
}

QCoro::Task<std::optional<Project>> ProjectEditorViewModel::sendUpdate(ProjectsService &service, const QString &id,
                                                                       const UpdateProjectRequest &request)
{
    return service.update(id, request);
}

QCoro::Task<> ProjectEditorViewModel::runSave(QPointer<ProjectEditorViewModel> self, QPointer<ProjectsService> service,
                                              UpdateProjectRequest request, Snapshot started,
                                              ProjectTypeOption startedType, quint64 generation)
{
    auto pending = sendUpdate(*service, self->m_projectId, request);
    const std::optional<Project> stored = co_await std::move(pending);
    if (!self || self->m_generation != generation)
        co_return;
    std::optional<QString> failure;
    if (!stored && service)
        failure = service->errorMessage();
    self->finishSave(stored, failure, started, startedType);
}

void ProjectEditorViewModel::finishSave(const std::optional<Project> &stored, const std::optional<QString> &failure,
                                        const Snapshot &started, ProjectTypeOption startedType)
{
    // After a failure the error stays in view: a save asked for meanwhile waits for the next ask.
    const bool saveAgain = std::exchange(m_saveAgain, false);
    if (!stored) {
        const bool hasText = failure && !failure->isEmpty();
        setSaveState(EditorSaveState::error(hasText ? *failure : QStringLiteral("Не удалось сохранить")));
        Q_EMIT finished(false);
        return;
    }
    if (currentSnapshot() == started && m_projectTypeOption == startedType) {
        syncFromServer(*stored);
        setSaveState(EditorSaveState::saved());
    } else {
        // Edited while the save ran: the reload would drop those edits, so they stay, and what
        // was sent is now what is stored.
        m_savedSnapshot = started;
        refreshDirty();
        if (saveAgain) {
            // The state stays "saving"; the follow-up's end is the one finished() tells.
            startSave();
            return;
        }
        setSaveState(EditorSaveState::idle());
    }
    Q_EMIT finished(true);
}
