#include "Features/Onboarding/MainOnboardingOverlayModel.h"

#include "Features/Onboarding/GuidedOnboarding.h"
#include "Settings/Preferences.h"
#include "SpotlightGeometry.h"

#include <algorithm>

namespace {
int storedVersion()
{
    return Preferences::shared().value(QLatin1String(GuidedOnboarding::completedVersionKey), 0).toInt();
}
} // namespace

MainOnboardingOverlayModel::MainOnboardingOverlayModel(QObject *parent)
    : QObject(parent)
    , m_completedVersion(storedVersion())
{
    connect(&Preferences::shared(), &Preferences::valueChanged, this, [this](const QString &key) {
        if (key != QLatin1String(GuidedOnboarding::completedVersionKey))
            return;
        const int version = storedVersion();
        if (version == m_completedVersion)
            return;
        m_completedVersion = version;
        Q_EMIT completedVersionChanged();
    });
}

void MainOnboardingOverlayModel::setStep(int step)
{
    if (m_step == step)
        return;
    m_step = step;
    Q_EMIT stepChanged();
}

void MainOnboardingOverlayModel::setDontShowAgain(bool on)
{
    if (m_dontShowAgain == on)
        return;
    m_dontShowAgain = on;
    Q_EMIT dontShowAgainChanged();
}

bool MainOnboardingOverlayModel::shown() const
{
    return GuidedOnboarding::isRunning(m_completedVersion);
}

int MainOnboardingOverlayModel::stepCount() const
{
    return int(GuidedOnboarding::steps().size());
}

int MainOnboardingOverlayModel::currentIndex() const
{
    return std::clamp(m_step, 0, stepCount() - 1);
}

bool MainOnboardingOverlayModel::isLast() const
{
    return currentIndex() == stepCount() - 1;
}

QString MainOnboardingOverlayModel::badge() const
{
    return GuidedOnboarding::steps().at(currentIndex()).badge;
}

QString MainOnboardingOverlayModel::title() const
{
    return GuidedOnboarding::steps().at(currentIndex()).title;
}

QString MainOnboardingOverlayModel::body() const
{
    return GuidedOnboarding::steps().at(currentIndex()).body;
}

QString MainOnboardingOverlayModel::stepText() const
{
    return QStringLiteral("Шаг %1 из %2").arg(currentIndex() + 1).arg(stepCount());
}

QString MainOnboardingOverlayModel::spokenDescription() const
{
    return body() + QLatin1Char(' ') + stepText();
}

QString MainOnboardingOverlayModel::dotName(int index) const
{
    return QStringLiteral("Шаг %1").arg(index + 1);
}

QRectF MainOnboardingOverlayModel::cardFrame(bool hasTarget, const QRectF &target, const QSizeF &card,
                                             const QSizeF &area) const
{
    return SpotlightGeometry::cardFrame(hasTarget ? std::optional<QRectF>(target) : std::nullopt, card, area);
}

void MainOnboardingOverlayModel::back()
{
    if (canGoBack())
        Q_EMIT stepRequested(m_step - 1);
}

void MainOnboardingOverlayModel::next()
{
    if (isLast())
        return;
    Q_EMIT stepRequested(std::min(m_step + 1, stepCount() - 1));
}

void MainOnboardingOverlayModel::goTo(int step)
{
    Q_EMIT stepRequested(step);
}

void MainOnboardingOverlayModel::skip()
{
    finish(m_dontShowAgain);
}

void MainOnboardingOverlayModel::done()
{
    finish(true);
}

void MainOnboardingOverlayModel::finish(bool markCompleted)
{
    if (markCompleted && m_dontShowAgain)
        Preferences::shared().setValue(QLatin1String(GuidedOnboarding::completedVersionKey), GuidedOnboarding::version);
    Q_EMIT stepRequested(0);
    setDontShowAgain(true);
    // With nothing stored the tour would start over at once: it closes until the next start.
    Q_EMIT closeRequested();
}
