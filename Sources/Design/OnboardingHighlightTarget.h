#pragma once

#include <QHash>
#include <QString>
#include <optional>

// The element that the guided tour lights. Views carry it as its key text, which is equal for
// equal targets only: the case's name, and for the demo project's row "demoProjectRow:" followed
// by the project's identity.
struct OnboardingHighlightTarget
{
    enum class Kind {
        DemoProjectRow,
        EditorTableOverview,
        EditorTemplatesMenu,
        EditorSaveExport,
        PaymentsHub,
        AnalyticsHub,
        SettingsAppearance,
        SettingsGuidedTour,
        SettingsTips,
        MainNavigation,
    };

    Kind kind = Kind::MainNavigation;
    QString projectId; // only for DemoProjectRow

    static OnboardingHighlightTarget demoProjectRow(const QString &projectId)
    {
        return {Kind::DemoProjectRow, projectId};
    }

    QString key() const;
    static std::optional<OnboardingHighlightTarget> fromKey(const QString &key);

    friend bool operator==(const OnboardingHighlightTarget &a, const OnboardingHighlightTarget &b)
    {
        return a.kind == b.kind && (a.kind != Kind::DemoProjectRow || a.projectId == b.projectId);
    }
};

inline size_t qHash(const OnboardingHighlightTarget &target, size_t seed = 0)
{
    return qHash(target.key(), seed);
}
