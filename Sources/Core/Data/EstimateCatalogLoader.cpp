#include "EstimateCatalogLoader.h"

#include "Models/EstimateCategory.h"
#include "Utils/Json.h"

#include <QFile>
#include <QMutex>
#include <QMutexLocker>
#include <algorithm>

namespace {

QMutex overrideMutex;
std::optional<QString> overridePath; // guarded by overrideMutex

QString legacyLabel(EstimateCategory category)
{
    switch (category) {
    case EstimateCategory::Backend:
        return QStringLiteral("Backend");
    case EstimateCategory::Frontend:
        return QStringLiteral("Frontend");
    case EstimateCategory::Mobile:
        return QStringLiteral("Мобильная разработка");
    case EstimateCategory::Design:
        return QStringLiteral("Дизайн");
    case EstimateCategory::Devops:
        return QStringLiteral("DevOps");
    case EstimateCategory::Management:
        return QStringLiteral("Менеджмент");
    case EstimateCategory::Qa:
        return QStringLiteral("QA");
    case EstimateCategory::Analytics:
        return QStringLiteral("Аналитика");
    }
    return {};
}

} // namespace

QString EstimateCatalogLoader::defaultCatalogPath()
{
    return QStringLiteral(":/estimate-catalog.json");
}

std::shared_ptr<const EstimateCatalogFile> EstimateCatalogLoader::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    try {
        return std::make_shared<const EstimateCatalogFile>(EstimateCatalogFile::fromJson(Json::parse(file.readAll())));
    } catch (const DecodingError &) {
        return nullptr;
    }
}

std::shared_ptr<const EstimateCatalogFile> EstimateCatalogLoader::catalog()
{
    std::optional<QString> path;
    {
        const QMutexLocker locker(&overrideMutex);
        path = overridePath;
    }
    if (path)
        return load(*path);
    static const std::shared_ptr<const EstimateCatalogFile> compiledIn = load(defaultCatalogPath());
    return compiledIn;
}

QList<CatalogCategory> EstimateCatalogLoader::categories(const EstimateCatalogFile &file, const QString &sphereId)
{
    QList<CatalogCategory> out;
    for (const CatalogCategory &category : file.categories) {
        if (category.sphereId == sphereId)
            out.append(category);
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const CatalogCategory &a, const CatalogCategory &b) { return a.sortOrder < b.sortOrder; });
    return out;
}

QList<CatalogCategory> EstimateCatalogLoader::categories(const QString &sphereId)
{
    const auto file = catalog();
    return file ? categories(*file, sphereId) : QList<CatalogCategory>{};
}

QString EstimateCatalogLoader::normalizeCategory(const QString &categoryId, const QString &sphereId)
{
    const auto file = catalog();
    if (!file)
        return categoryId;
    // One step through the map only: chained entries are not followed.
    const auto mapped = file->legacyCategoryMap.constFind(categoryId);
    const QString candidate = mapped != file->legacyCategoryMap.constEnd() ? mapped.value() : categoryId;
    const bool known = std::any_of(file->categories.cbegin(), file->categories.cend(),
                                   [&](const CatalogCategory &c) { return c.id == candidate; });
    if (known)
        return candidate;
    // The sphere's first category: lowest sortOrder, earliest in the file among equals.
    const CatalogCategory *first = nullptr;
    for (const CatalogCategory &category : file->categories) {
        if (category.sphereId == sphereId && (!first || category.sortOrder < first->sortOrder))
            first = &category;
    }
    return first ? first->id : candidate;
}

QString EstimateCatalogLoader::categoryName(const QString &categoryId, const QString &sphereId)
{
    Q_UNUSED(sphereId) // names are looked up over the whole file
    if (const auto file = catalog()) {
        for (const CatalogCategory &category : file->categories) {
            if (category.id == categoryId)
                return category.name;
        }
    }
    if (const auto legacy = estimateCategoryFromRaw(categoryId))
        return legacyLabel(*legacy);
    return categoryId;
}

EstimateCatalogLoader::ScopedCatalogOverride::ScopedCatalogOverride(const QString &path)
{
    const QMutexLocker locker(&overrideMutex);
    m_previous = overridePath;
    overridePath = path;
}

EstimateCatalogLoader::ScopedCatalogOverride::~ScopedCatalogOverride()
{
    const QMutexLocker locker(&overrideMutex);
    overridePath = m_previous;
}
