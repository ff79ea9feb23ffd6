#pragma once

#include "Data/EstimateCatalogLoader.h"

#include <QString>
#include <optional>

// What the category colours and badges read of the catalog resource.
class CategoryCatalog
{
public:
    CategoryCatalog() = delete;

    // The "color" text of the first category in file order with this identifier, over all
    // spheres; none when the catalog is unavailable, has no such category or gives it no colour.
    static std::optional<QString> colorText(const QString &categoryId);

    // The category's display name as the catalog lookups give it.
    static QString name(const QString &categoryId);

    // Points the lookups at another catalog file while it lives (tests).
    using ScopedOverride = EstimateCatalogLoader::ScopedCatalogOverride;
};
