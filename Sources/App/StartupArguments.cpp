#include "App/StartupArguments.h"

#include "Features/Onboarding/GuidedOnboarding.h"
#include "Settings/Preferences.h"

#include <QUrl>

namespace StartupArguments {

bool requestsOnboardingReset(const QStringList &arguments)
{
    return arguments.contains(QLatin1String(resetOnboardingFlag), Qt::CaseSensitive);
}

void apply(const QStringList &arguments, Preferences &preferences)
{
    if (!requestsOnboardingReset(arguments))
        return;
    preferences.remove(QLatin1String(GuidedOnboarding::completedVersionKey));
    preferences.remove(QLatin1String(GuidedOnboarding::demoProjectIdKey));
}

std::optional<QString> openedUrl(const QStringList &arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument.startsWith(QLatin1Char('-')))
            continue;
        const QUrl url(argument, QUrl::StrictMode);
        if (url.isValid() && !url.scheme().isEmpty())
            return argument;
    }
    return std::nullopt;
}

} // namespace StartupArguments
