#include "CatalogSpheres.h"

#include "Data/EstimateCatalogLoader.h"

#include <algorithm>

QList<SphereChip> CatalogSpheres::chips()
{
    const auto catalog = EstimateCatalogLoader::catalog();
    if (!catalog)
        return {};
    auto spheres = catalog->spheres;
    std::stable_sort(spheres.begin(), spheres.end(),
                     [](const CatalogSphere &a, const CatalogSphere &b) { return a.sortOrder < b.sortOrder; });
    QList<SphereChip> chips;
    chips.reserve(spheres.size());
    for (const CatalogSphere &sphere : spheres)
        chips.append({sphere.id, sphere.name, sphere.icon.value_or(QString())});
    return chips;
}

QVariantList CatalogSpheres::list() const
{
    QVariantList list;
    for (const SphereChip &chip : chips())
        list.append(QVariant::fromValue(chip));
    return list;
}
