#pragma once

#include "Models/EstimateTemplate.h"

#include <QList>
#include <QString>

// The user's own templates, kept in the preferences as the bytes of a JSON array. Only read here.
class UserTemplatesStorage
{
public:
    UserTemplatesStorage() = delete;

    static QString key();

    // Empty when the value is missing, not bytes, or not an array of templates as a whole.
    static QList<EstimateTemplate> load();
};
