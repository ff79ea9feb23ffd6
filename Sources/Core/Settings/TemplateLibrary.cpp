#include "TemplateLibrary.h"

#include "Data/EstimateTemplatesLoader.h"
#include "UserTemplatesStorage.h"

namespace {

QList<EstimateTemplate> ofSphere(const QList<EstimateTemplate> &templates, const QString &sphereId)
{
    QList<EstimateTemplate> kept;
    for (const EstimateTemplate &t : templates) {
        if (t.sphereId.value_or(TemplateLibrary::defaultSphereId()) == sphereId)
            kept.append(t);
    }
    return kept;
}

} // namespace

QString TemplateLibrary::defaultSphereId()
{
    return QStringLiteral("software");
}

QList<EstimateTemplate> TemplateLibrary::all(const std::optional<QString> &sphereId)
{
    const QList<EstimateTemplate> builtIn = EstimateTemplatesLoader::load();
    const QList<EstimateTemplate> user = UserTemplatesStorage::load();
    if (!sphereId)
        return builtIn + user;
    return ofSphere(builtIn, *sphereId) + ofSphere(user, *sphereId);
}
