#pragma once

#include "Features/Onboarding/GuidedOnboardingStepModel.h"
#include "OnboardingHighlightTarget.h"

#include <QList>
#include <optional>

namespace GuidedOnboarding {

// Preferences of the tour.
inline constexpr auto completedVersionKey = "estimate.onboarding.main.completedVersion";
inline constexpr auto replayRequestNonceKey = "estimate.onboarding.replayRequestNonce";
inline constexpr auto demoProjectIdKey = "estimate.onboarding.demoProjectId";
inline constexpr auto welcomeIntroDoneKey = "estimate.onboarding.welcomeIntro.v1.done";

// A stored completed version of this or more means the tour is finished.
inline constexpr int version = 2;

inline bool isRunning(int completedVersion)
{
    return completedVersion < version;
}

const QList<GuidedOnboardingStepModel> &steps();

// The element lit at a step: none out of range, for the kind none, or for the demo row
// while no demo identity is known (an empty identity counts as known).
std::optional<OnboardingHighlightTarget> highlight(int step, const std::optional<QString> &demoProjectId);

} // namespace GuidedOnboarding
