#include "OnboardingHighlightTargetKeys.h"

OnboardingHighlightTargetKeys::OnboardingHighlightTargetKeys(QObject *parent)
    : QObject(parent)
{
}
