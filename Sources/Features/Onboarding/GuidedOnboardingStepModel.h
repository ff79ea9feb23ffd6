#pragma once

#include "AppSection.h"
#include "OnboardingHighlightTarget.h"

#include <QString>
#include <optional>

// One step of the guided tour; its index is its identity.
struct GuidedOnboardingStepModel
{
    int index = 0;
    QString badge;
    QString title;
    QString body;
    AppSection section = AppSection::Projects;
    bool opensDemoProjectEditor = false;
    // What the step lights; none for no element. The demo row takes its identity when lit.
    std::optional<OnboardingHighlightTarget::Kind> highlightKind;
};
