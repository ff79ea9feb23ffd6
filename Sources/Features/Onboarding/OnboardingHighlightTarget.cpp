#include "Features/Onboarding/OnboardingHighlightTarget.h"

namespace {
const QString demoRowPrefix = QStringLiteral("demoProjectRow:");
}

QString onboardingHighlightKindName(OnboardingHighlightKind kind)
{
    switch (kind) {
    case OnboardingHighlightKind::None: return QStringLiteral("none");
    case OnboardingHighlightKind::DemoProjectRow: return QStringLiteral("demoProjectRow");
    case OnboardingHighlightKind::EditorTableOverview: return QStringLiteral("editorTableOverview");
    case OnboardingHighlightKind::EditorTemplatesMenu: return QStringLiteral("editorTemplatesMenu");
    case OnboardingHighlightKind::EditorSaveExport: return QStringLiteral("editorSaveExport");
    case OnboardingHighlightKind::PaymentsHub: return QStringLiteral("paymentsHub");
    case OnboardingHighlightKind::AnalyticsHub: return QStringLiteral("analyticsHub");
    case OnboardingHighlightKind::SettingsAppearance: return QStringLiteral("settingsAppearance");
    case OnboardingHighlightKind::SettingsGuidedTour: return QStringLiteral("settingsGuidedTour");
    case OnboardingHighlightKind::SettingsTips: return QStringLiteral("settingsTips");
    case OnboardingHighlightKind::MainNavigation: return QStringLiteral("mainNavigation");
    }
    return {};
}

OnboardingHighlightTarget OnboardingHighlightTarget::demoProjectRow(const QString &projectId)
{
    return {OnboardingHighlightKind::DemoProjectRow, projectId};
}

OnboardingHighlightTarget OnboardingHighlightTarget::of(OnboardingHighlightKind kind)
{
    return {kind, {}};
}

QString OnboardingHighlightTarget::key() const
{
    if (kind == OnboardingHighlightKind::DemoProjectRow)
        return demoRowPrefix + projectId;
    return onboardingHighlightKindName(kind);
}

size_t qHash(const OnboardingHighlightTarget &target, size_t seed)
{
    return qHashMulti(seed, static_cast<int>(target.kind), target.projectId);
}
