#pragma once

#include <QStringList>
#include <optional>

class Preferences;

namespace StartupArguments {

inline constexpr auto resetOnboardingFlag = "--estimate-reset-onboarding";

// True when one whole argument equals the flag (case-sensitive).
bool requestsOnboardingReset(const QStringList &arguments);

// Forgets the finished tour and its demo project when the flag is given; touches nothing else.
void apply(const QStringList &arguments, Preferences &preferences);

// The URL the desktop handed over: the first argument after the program's name that has a scheme.
std::optional<QString> openedUrl(const QStringList &arguments);

} // namespace StartupArguments
