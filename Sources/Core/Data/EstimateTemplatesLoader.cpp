#include "EstimateTemplatesLoader.h"

#include "Data/EstimateCatalogLoader.h"
#include "Utils/Json.h"

#include <QFile>
#include <QMutex>
#include <QMutexLocker>

namespace {

QMutex overrideMutex;
std::optional<QString> overridePath; // guarded by overrideMutex

QString templatesPath()
{
    const QMutexLocker locker(&overrideMutex);
    return overridePath.value_or(EstimateTemplatesLoader::defaultTemplatesPath());
}

} // namespace

QString EstimateTemplatesLoader::defaultTemplatesPath()
{
    return QStringLiteral(":/estimate-templates.json");
}

QList<EstimateTemplate> EstimateTemplatesLoader::load()
{
    // A catalog that decodes ends the search, even with no built-in templates in it.
    if (const auto catalog = EstimateCatalogLoader::catalog())
        return catalog->builtinTemplates;

    QFile file(templatesPath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    try {
        return EstimateTemplate::listFromJson(Json::parse(file.readAll()));
    } catch (const DecodingError &) {
        return {};
    }
}

EstimateTemplatesLoader::ScopedTemplatesOverride::ScopedTemplatesOverride(const QString &path)
{
    const QMutexLocker locker(&overrideMutex);
    m_previous = overridePath;
    overridePath = path;
}

EstimateTemplatesLoader::ScopedTemplatesOverride::~ScopedTemplatesOverride()
{
    const QMutexLocker locker(&overrideMutex);
    overridePath = m_previous;
}
