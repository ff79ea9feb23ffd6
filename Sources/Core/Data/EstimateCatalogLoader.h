#pragma once

#include "Models/CatalogCategory.h"
#include "Models/EstimateCatalogFile.h"

#include <QList>
#include <QString>
#include <memory>
#include <optional>

// Lookups over the catalog resource: the categories of a sphere, category identifiers brought
// onto the catalog's own, and display names. A catalog that is missing or does not decode is
// never reported; every lookup then takes its fallback. Safe to call from any thread.
class EstimateCatalogLoader
{
public:
    EstimateCatalogLoader() = delete;

    static QString defaultCatalogPath();

    // The decoded catalog, or null when it is unavailable. The compiled-in resource cannot change,
    // so it is decoded once per process; an overridden file is read anew on every call.
    static std::shared_ptr<const EstimateCatalogFile> catalog();

    // The sphere's categories by ascending sortOrder, file order among equals; empty without a
    // catalog.
    static QList<CatalogCategory> categories(const QString &sphereId);

    // Mapped once through the legacy map, then kept when any category of any sphere carries it;
    // otherwise the sphere's first category, or the mapped identifier when the sphere has none.
    // Without a catalog the identifier comes back unchanged.
    static QString normalizeCategory(const QString &categoryId, const QString &sphereId);

    // Name of the first category in file order with this identifier (any sphere), else the
    // fixed label of a legacy identifier, else the identifier itself.
    static QString categoryName(const QString &categoryId, const QString &sphereId);

    // Points every lookup at another file while it lives (tests: a missing, broken or empty
    // catalog). Nested overrides restore the previous one.
    class ScopedCatalogOverride
    {
    public:
        explicit ScopedCatalogOverride(const QString &path);
        ~ScopedCatalogOverride();
        ScopedCatalogOverride(const ScopedCatalogOverride &) = delete;
        ScopedCatalogOverride &operator=(const ScopedCatalogOverride &) = delete;

    private:
        std::optional<QString> m_previous;
    };

private:
    static std::shared_ptr<const EstimateCatalogFile> load(const QString &path);
    static QList<CatalogCategory> categories(const EstimateCatalogFile &file, const QString &sphereId);
};
