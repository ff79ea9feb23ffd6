#pragma once

#include "Models/EstimateTemplate.h"

#include <QList>
#include <QString>
#include <optional>

// Built-in templates followed by the user's, optionally those of one sphere only.
class TemplateLibrary
{
public:
    TemplateLibrary() = delete;

    static QString defaultSphereId();

    // Both sources are read on every call. A template without a sphere belongs to "software";
    // spheres compare exactly. Nothing is de-duplicated.
    static QList<EstimateTemplate> all(const std::optional<QString> &sphereId);
};
