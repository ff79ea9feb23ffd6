#include "OnboardingHighlightTarget.h"

#include <array>
#include <utility>

namespace {

constexpr auto DemoPrefix = QLatin1String("demoProjectRow:");

using Kind = OnboardingHighlightTarget::Kind;
const std::array<std::pair<Kind, QLatin1String>, 9> &plainNames()
{
    static const std::array<std::pair<Kind, QLatin1String>, 9> names = {{
        {Kind::EditorTableOverview, QLatin1String("editorTableOverview")},
        {Kind::EditorTemplatesMenu, QLatin1String("editorTemplatesMenu")},
        {Kind::EditorSaveExport, QLatin1String("editorSaveExport")},
        {Kind::PaymentsHub, QLatin1String("paymentsHub")},
        {Kind::AnalyticsHub, QLatin1String("analyticsHub")},
        {Kind::SettingsAppearance, QLatin1String("settingsAppearance")},
        {Kind::SettingsGuidedTour, QLatin1String("settingsGuidedTour")},
        {Kind::SettingsTips, QLatin1String("settingsTips")},
        {Kind::MainNavigation, QLatin1String("mainNavigation")},
    }};
    return names;
}

} // namespace

QString OnboardingHighlightTarget::key() const
{
    if (kind == Kind::DemoProjectRow)
        return DemoPrefix + projectId;
    for (const auto &[k, name] : plainNames()) {
        if (k == kind)
            return name;
    }
    Q_UNREACHABLE();
}

std::optional<OnboardingHighlightTarget> OnboardingHighlightTarget::fromKey(const QString &key)
{
    if (key.startsWith(DemoPrefix))
        return demoProjectRow(key.mid(DemoPrefix.size()));
    for (const auto &[k, name] : plainNames()) {
        if (key == name)
            return OnboardingHighlightTarget{k, {}};
    }
    return std::nullopt;
}
