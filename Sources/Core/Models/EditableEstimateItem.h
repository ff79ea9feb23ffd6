#pragma once

#include <QString>
#include <QUuid>

// The estimate editor's working copy of one line. Its identity is fresh for every copy and never
// leaves the process; it has no JSON form.
struct EditableEstimateItem
{
    QUuid id = QUuid::createUuid();
    QString title;
    QString description; // empty: no description
    QString category;
    double hours = 0;
    double rate = 0;
    bool isLocked = false;

    bool operator==(const EditableEstimateItem &other) const = default;
};

size_t qHash(const EditableEstimateItem &item, size_t seed = 0);
