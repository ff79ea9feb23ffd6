#pragma once

#include "AppSection.h"
#include "Features/Onboarding/OnboardingHighlightKind.h"

#include <QString>

// One step of the guided tour; its index is its identity.
struct GuidedOnboardingStepModel {
    int index = 0;
    QString badge;
    QString title;
    QString body;
    AppSection section = AppSection::Projects;
    bool opensDemoProjectEditor = false;
    OnboardingHighlightKind highlightKind = OnboardingHighlightKind::None;
};
