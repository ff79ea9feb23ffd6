#pragma once

// What a tour step lights up, without the demo project's identity.
enum class OnboardingHighlightKind {
    None,
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
