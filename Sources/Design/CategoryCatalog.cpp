#include "CategoryCatalog.h"

std::optional<QString> CategoryCatalog::colorText(const QString &categoryId)
{
    const std::shared_ptr<const EstimateCatalogFile> catalog = EstimateCatalogLoader::catalog();
    if (!catalog)
        return std::nullopt;
    for (const CatalogCategory &category : catalog->categories) {
        if (category.id == categoryId)
            return category.color;
    }
    return std::nullopt;
}

QString CategoryCatalog::name(const QString &categoryId)
{
    // The sphere does not narrow a name lookup; the default sphere stands in.
    return EstimateCatalogLoader::categoryName(categoryId, QStringLiteral("software"));
}
