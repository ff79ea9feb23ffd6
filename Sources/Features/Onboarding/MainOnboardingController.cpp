#include "Features/Onboarding/MainOnboardingController.h"

#include "Features/Onboarding/GuidedOnboarding.h"
#include "Features/Onboarding/OnboardingDemoProject.h"
#include "Settings/Preferences.h"

namespace {

int intPreference(const char *key)
{
    return Preferences::shared().value(QLatin1String(key), 0).toInt();
}

std::optional<QString> textPreference(const char *key)
{
    const QVariant value = Preferences::shared().value(QLatin1String(key));
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    return value.toString();
}

} // namespace

MainOnboardingController::MainOnboardingController(QObject *parent)
    : QObject(parent)
    , m_completedVersion(intPreference(GuidedOnboarding::completedVersionKey))
    , m_replayNonce(intPreference(GuidedOnboarding::replayRequestNonceKey))
{
    connect(&Preferences::shared(), &Preferences::valueChanged, this, &MainOnboardingController::onPreferenceChanged);
    updateHighlight();
}

MainOnboardingController::~MainOnboardingController() = default;

bool MainOnboardingController::running() const
{
    return GuidedOnboarding::isRunning(m_completedVersion) && !m_closedForRun;
}

void MainOnboardingController::closeForRun()
{
    if (m_closedForRun)
        return;
    m_closedForRun = true;
    Q_EMIT tourPreferencesChanged();
    updateHighlight();
}

QString MainOnboardingController::taskKey() const
{
    return QStringLiteral("%1-%2-%3")
        .arg(running() ? QStringLiteral("true") : QStringLiteral("false"))
        .arg(m_completedVersion)
        .arg(m_replayNonce);
}

bool MainOnboardingController::hasTarget(int step) const
{
    return GuidedOnboarding::highlight(step, m_demoProjectId).has_value();
}

int MainOnboardingController::stepWithTarget(int step) const
{
    const int count = int(GuidedOnboarding::steps().size());
    if (!running() || !m_demoChecked || step < 0 || step >= count || hasTarget(step))
        return step;
    const int way = step < m_step ? -1 : 1;
    for (const int direction : {way, -way}) {
        for (int other = step + direction; other >= 0 && other < count; other += direction) {
            if (hasTarget(other))
                return other;
        }
    }
    return step;
}

void MainOnboardingController::setStep(int step)
{
    step = stepWithTarget(step);
    if (m_step == step)
        return;
    m_step = step;
    Q_EMIT stepChanged();
    updateHighlight();
    applyGuidedNavigation(step);
}

void MainOnboardingController::setDemoProjectId(const std::optional<QString> &id)
{
    if (m_demoProjectId == id)
        return;
    m_demoProjectId = id;
    Q_EMIT demoProjectIdChanged();
    updateHighlight();
    if (running())
        applyGuidedNavigation(m_step);
}

void MainOnboardingController::updateHighlight()
{
    QString key;
    if (running()) {
        if (const auto target = GuidedOnboarding::highlight(m_step, m_demoProjectId))
            key = target->key();
    }
    if (key == m_currentHighlight)
        return;
    m_currentHighlight = key;
    Q_EMIT currentHighlightChanged();
    Q_EMIT highlightRectChanged();
}

OnboardingEnvironment *MainOnboardingController::frameSource() const
{
    return m_frameSource;
}

void MainOnboardingController::setFrameSource(OnboardingEnvironment *source)
{
    if (m_frameSource == source)
        return;
    disconnect(m_frameLink);
    m_frameSource = source;
    if (source) {
        m_frameLink = connect(source, &OnboardingEnvironment::framesChanged, this,
                              &MainOnboardingController::highlightRectChanged);
    }
    Q_EMIT frameSourceChanged();
    Q_EMIT highlightRectChanged();
}

std::optional<QRectF> MainOnboardingController::highlightRect() const
{
    if (m_currentHighlight.isEmpty() || !m_frameSource)
        return std::nullopt;
    const QVariant frame = m_frameSource->frameFor(m_currentHighlight);
    if (!frame.isValid())
        return std::nullopt;
    return frame.toRectF();
}

void MainOnboardingController::applyGuidedNavigation(int step)
{
    const QList<GuidedOnboardingStepModel> &steps = GuidedOnboarding::steps();
    if (step < 0 || step >= steps.size())
        return;
    const GuidedOnboardingStepModel &model = steps.at(step);
    Q_EMIT sectionRequested(model.section);
    if (!m_demoProjectId)
        setDemoProjectId(textPreference(GuidedOnboarding::demoProjectIdKey));
    if (model.opensDemoProjectEditor) {
        if (m_demoProjectId)
            Q_EMIT selectionRequested(*m_demoProjectId);
    } else {
        Q_EMIT selectionRequested(QString());
    }
}

void MainOnboardingController::onPreferenceChanged(const QString &key)
{
    if (key == QLatin1String(GuidedOnboarding::completedVersionKey)) {
        const int version = intPreference(GuidedOnboarding::completedVersionKey);
        if (version == m_completedVersion)
            return;
        m_completedVersion = version;
        Q_EMIT tourPreferencesChanged();
        updateHighlight();
        restartTaskIfKeyChanged();
    } else if (key == QLatin1String(GuidedOnboarding::replayRequestNonceKey)) {
        const int nonce = intPreference(GuidedOnboarding::replayRequestNonceKey);
        if (nonce == m_replayNonce)
            return;
        m_replayNonce = nonce;
        m_closedForRun = false;
        Q_EMIT tourPreferencesChanged();
        setStep(0);
        applyGuidedNavigation(0);
        restartTaskIfKeyChanged();
    }
}

void MainOnboardingController::start(std::shared_ptr<ProjectsService> service)
{
    if (m_started)
        return;
    m_started = true;
    m_service = std::move(service);
    startTask();
}

void MainOnboardingController::restartTaskIfKeyChanged()
{
    if (m_started && taskKey() != m_taskKey)
        startTask();
}

void MainOnboardingController::startTask()
{
    m_taskKey = taskKey();
    ++m_taskGeneration;
    if (!running() || !m_service) {
        Q_EMIT taskFinished();
        return;
    }
    demoCheckTask(this, m_service, m_taskGeneration);
}

// The service is kept alive by the task until it ends, even when the window that made it is
// gone; the result is applied only while the controller exists and the task was not replaced.
QCoro::Task<> MainOnboardingController::demoCheckTask(QPointer<MainOnboardingController> self,
                                                      std::shared_ptr<ProjectsService> service, quint64 generation)
{
    auto ready = OnboardingDemoProject::ensureReady(*service);
    co_await std::move(ready);
    if (!self || self->m_taskGeneration != generation)
        co_return;
    self->setDemoProjectId(textPreference(GuidedOnboarding::demoProjectIdKey));
    self->m_demoChecked = true;
    self->setStep(self->stepWithTarget(self->m_step));
    self->applyGuidedNavigation(self->m_step);
    Q_EMIT self->taskFinished();
}
