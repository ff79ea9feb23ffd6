#include "ProjectRoot.h"

#include "Utils/Text.h"

namespace ProjectRoot {

QString iterationLabel(const Project &project)
{
    if (project.iterationName) {
        const QString name = Text::trimmedSpacesAndTabs(*project.iterationName);
        if (!name.isEmpty())
            return name;
    }
    if (project.version)
        return QLatin1Char('v') + QString::number(*project.version);
    return QStringLiteral("Итерация");
}

} // namespace ProjectRoot
