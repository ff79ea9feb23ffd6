#pragma once

#include "Features/Onboarding/OnboardingHighlightKind.h"

#include <QHash>
#include <QString>

// An element the tour can light. Views compare targets by key(): the kind's name, and for the
// demo row also the project identity, so two demo rows of different projects never match.
struct OnboardingHighlightTarget {
    OnboardingHighlightKind kind = OnboardingHighlightKind::MainNavigation;
    QString projectId; // only for the demo row

    static OnboardingHighlightTarget demoProjectRow(const QString &projectId);
    static OnboardingHighlightTarget of(OnboardingHighlightKind kind);

    QString key() const;

    friend bool operator==(const OnboardingHighlightTarget &a, const OnboardingHighlightTarget &b)
    {
        return a.kind == b.kind && a.projectId == b.projectId;
    }
};

size_t qHash(const OnboardingHighlightTarget &target, size_t seed = 0);

QString onboardingHighlightKindName(OnboardingHighlightKind kind);
