#pragma once

#include "Models/EstimateTemplate.h"

#include <QList>
#include <QString>
#include <optional>

// The built-in templates: the catalog's own list, or the templates resource when the catalog
// itself cannot be read. Read anew on every call; never fails.
class EstimateTemplatesLoader
{
public:
    EstimateTemplatesLoader() = delete;

    static QList<EstimateTemplate> load();

    static QString defaultTemplatesPath();

    // Points the fallback resource at another file while it lives (tests). Nested overrides
    // restore the previous one.
    class ScopedTemplatesOverride
    {
    public:
        explicit ScopedTemplatesOverride(const QString &path);
        ~ScopedTemplatesOverride();
        ScopedTemplatesOverride(const ScopedTemplatesOverride &) = delete;
        ScopedTemplatesOverride &operator=(const ScopedTemplatesOverride &) = delete;

    private:
        std::optional<QString> m_previous;
    };
};
