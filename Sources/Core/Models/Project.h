#pragma once

#include "ProjectItem.h"
#include "ProjectStatus.h"
#include "Utils/JsonPath.h"

#include <QDateTime>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>
#include <optional>

struct UpdateProjectRequest;

// One estimate project, as the backend sends it and as the device store keeps a guest's.
// Dates are carried as text exactly as received.
struct Project
{
    QString id;
    QString name;
    std::optional<QString> clientName;
    double totalCost = 0;
    double totalHours = 0;
    QString currency;
    ProjectStatus status = ProjectStatus::Draft;
    QList<ProjectItem> items;
    std::optional<double> defaultRate;
    std::optional<QString> templateId;
    QString userId;
    QString createdAt;
    QString updatedAt;
    std::optional<QString> projectType;
    std::optional<QString> parentProjectId;
    std::optional<QString> baseProjectId;
    std::optional<qint64> version;
    std::optional<QString> iterationName;
    std::optional<QString> iterationNotes;
    std::optional<QString> iterationStartedAt;

    // An iteration names a parent other than itself; every other project is a root.
    bool isIteration() const { return parentProjectId && *parentProjectId != id; }
    bool isRoot() const { return !isIteration(); }

    static Project fromJson(const QJsonValue &value, const JsonPath &path = {});
    // A JSON array of projects, read in one piece: one bad project fails the list.
    static QList<Project> listFromJson(const QJsonValue &value, const JsonPath &path = {});
    // The same read straight from JSON text, as Json::parse followed by the readers above would
    // read it, errors included, without building the JSON objects in between.
    static QList<Project> listFromJson(const QByteArray &bytes);
    static Project fromJsonText(const QByteArray &bytes);
    QJsonObject toJson(const JsonPath &path = {}) const;
    // The same JSON as toJson() as compact text, byte for byte what Json::serialize makes of it,
    // without building the object first.
    QByteArray toJsonText(const JsonPath &path = {}) const;
    void appendJson(QByteArray &out, const JsonPath &path = {}) const;

    // Totals of a device project from its lines and default rate, rounded to cents.
    Project recalculatedTotals() const;

    // A device project after an edit: the edited fields replaced, updatedAt stamped with now,
    // totals recomputed; identity, owner, creation and iteration lineage kept. An optional field
    // takes the edit's value as it is (absent clears it); name, currency, status and items keep
    // the stored value when the edit leaves them out.
    Project withGuestPersistedFields(const UpdateProjectRequest &edit,
                                     const QDateTime &now = QDateTime::currentDateTimeUtc()) const;

    bool operator==(const Project &other) const = default;
};

size_t qHash(const Project &project, size_t seed = 0);
