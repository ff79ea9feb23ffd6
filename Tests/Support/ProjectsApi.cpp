#include "ProjectsApi.h"

#include "TestBackend.h"

#include <QJsonArray>
#include <QJsonObject>
#include <algorithm>

namespace ProjectsApi {

namespace {

BackendReply notFound()
{
    return BackendReply::message(404, QStringLiteral("Проект не найден"));
}

QJsonArray iterationsOf(BackendData &data, const QString &rootId, const QString &accountId)
{
    QList<QJsonObject> found;
    for (const QJsonObject &project : std::as_const(data.projects)) {
        if (project.value(QStringLiteral("userId")).toString() == accountId && !BackendData::isRoot(project)
            && BackendData::rootId(project) == rootId)
            found.append(project);
    }
    std::stable_sort(found.begin(), found.end(), [](const QJsonObject &a, const QJsonObject &b) {
        return a.value(QStringLiteral("version")).toInteger() < b.value(QStringLiteral("version")).toInteger();
    });
    QJsonArray array;
    for (const QJsonObject &project : found)
        array.append(project);
    return array;
}

const QStringList updatableKeys = {QStringLiteral("name"),        QStringLiteral("clientName"),
                                   QStringLiteral("status"),      QStringLiteral("items"),
                                   QStringLiteral("defaultRate"), QStringLiteral("currency"),
                                   QStringLiteral("projectType"), QStringLiteral("iterationStartedAt")};

} // namespace

void install(TestBackend &backend)
{
    BackendData &data = backend.data();

    backend.addAccountRoute(QStringLiteral("GET"), QStringLiteral("projects"),
                            [&data](const QString &accountId, const RecordedRequest &request, const QStringList &) {
                                const bool full = request.queryItem(QStringLiteral("view")) == QStringLiteral("full");
                                QJsonArray list;
                                for (const QJsonObject &project : std::as_const(data.projects)) {
                                    if (project.value(QStringLiteral("userId")).toString() == accountId
                                        && (full || BackendData::isRoot(project)))
                                        list.append(project);
                                }
                                return BackendReply::json(200, list);
                            });

    backend.addAccountRoute(
        QStringLiteral("POST"), QStringLiteral("projects"),
        [&data](const QString &accountId, const RecordedRequest &request, const QStringList &) {
            QJsonObject body = request.json().toObject();
            if (body.value(QStringLiteral("name")).toString().trimmed().isEmpty())
                return BackendReply::json(
                    400,
                    QJsonObject{{QStringLiteral("message"), QJsonArray{QStringLiteral("name should not be empty")}}});
            body.remove(QStringLiteral("sphereId"));
            return BackendReply::json(201, data.addProject(accountId, body));
        });

    backend.addAccountRoute(QStringLiteral("GET"), QStringLiteral("projects/:id"),
                            [&data](const QString &accountId, const RecordedRequest &, const QStringList &captures) {
                                const QJsonObject *project = data.ownedProject(captures.at(0), accountId);
                                return project ? BackendReply::json(200, *project) : notFound();
                            });

    backend.addAccountRoute(
        QStringLiteral("PATCH"), QStringLiteral("projects/:id"),
        [&data](const QString &accountId, const RecordedRequest &request, const QStringList &captures) {
            QJsonObject *project = data.ownedProject(captures.at(0), accountId);
            if (!project)
                return notFound();
            const QJsonObject body = request.json().toObject();
            // Built afresh: a value replaced in place leaves its old text in the object's storage,
            // which would grow with every save of a long text.
            QJsonObject updated;
            for (auto field = project->constBegin(); field != project->constEnd(); ++field) {
                if (!updatableKeys.contains(field.key()) || !body.contains(field.key()))
                    updated.insert(field.key(), field.value());
            }
            for (const QString &key : updatableKeys) {
                if (body.contains(key))
                    updated.insert(key, body.value(key));
            }
            *project = updated;
            project->insert(QStringLiteral("updatedAt"), BackendData::now());
            BackendData::recomputeTotals(*project);
            return BackendReply::json(200, *project);
        });

    backend.addAccountRoute(QStringLiteral("DELETE"), QStringLiteral("projects/:id"),
                            [&data](const QString &accountId, const RecordedRequest &, const QStringList &captures) {
                                const QString id = captures.at(0);
                                if (!data.ownedProject(id, accountId))
                                    return notFound();
                                // A root takes its iterations and every payment of the line with it.
                                QStringList gone{id};
                                data.projects.removeIf([&](const QJsonObject &project) {
                                    const bool drop = project.value(QStringLiteral("id")).toString() == id
                                        || BackendData::rootId(project) == id;
                                    if (drop)
                                        gone.append(project.value(QStringLiteral("id")).toString());
                                    return drop;
                                });
                                data.payments.removeIf([&gone](const QJsonObject &payment) {
                                    return gone.contains(payment.value(QStringLiteral("projectId")).toString());
                                });
                                return BackendReply::empty(204);
                            });

    backend.addAccountRoute(
        QStringLiteral("POST"), QStringLiteral("projects/:id/iterate"),
        [&data](const QString &accountId, const RecordedRequest &request, const QStringList &captures) {
            const QJsonObject *base = data.ownedProject(captures.at(0), accountId);
            if (!base)
                return notFound();
            const QJsonObject body = request.json().toObject();
            const QString rootId = BackendData::rootId(*base);
            qint64 version = body.value(QStringLiteral("version")).toInteger(0);
            if (version <= 0) {
                version = 1;
                for (const QJsonValue &iteration : iterationsOf(data, rootId, accountId))
                    version = std::max(version, iteration.toObject().value(QStringLiteral("version")).toInteger() + 1);
                version = std::max<qint64>(version, 2);
            }
            QJsonObject fields;
            for (const QString &key :
                 {QStringLiteral("name"), QStringLiteral("clientName"), QStringLiteral("currency"),
                  QStringLiteral("status"), QStringLiteral("defaultRate"), QStringLiteral("templateId")}) {
                if (base->contains(key))
                    fields.insert(key, base->value(key));
            }
            fields.insert(QStringLiteral("projectType"), QStringLiteral("iterative"));
            fields.insert(QStringLiteral("parentProjectId"), rootId);
            fields.insert(QStringLiteral("baseProjectId"), base->value(QStringLiteral("id")));
            fields.insert(QStringLiteral("version"), version);
            for (const QString &key : {QStringLiteral("iterationName"), QStringLiteral("iterationNotes")}) {
                if (body.value(key).isString())
                    fields.insert(key, body.value(key));
            }
            fields.insert(QStringLiteral("iterationStartedAt"), BackendData::now());
            if (body.value(QStringLiteral("items")).isArray())
                fields.insert(QStringLiteral("items"), body.value(QStringLiteral("items")));
            else if (body.value(QStringLiteral("copyBudget")).toBool())
                fields.insert(QStringLiteral("items"), base->value(QStringLiteral("items")));
            else
                fields.insert(QStringLiteral("items"), QJsonArray());
            return BackendReply::json(201, data.addProject(accountId, fields));
        });

    backend.addAccountRoute(QStringLiteral("GET"), QStringLiteral("projects/:id/iterations"),
                            [&data](const QString &accountId, const RecordedRequest &, const QStringList &captures) {
                                const QJsonObject *project = data.ownedProject(captures.at(0), accountId);
                                if (!project)
                                    return notFound();
                                return BackendReply::json(200,
                                                          iterationsOf(data, BackendData::rootId(*project), accountId));
                            });

    backend.addAccountRoute(QStringLiteral("GET"), QStringLiteral("projects/:id/summary"),
                            [&data](const QString &accountId, const RecordedRequest &, const QStringList &captures) {
                                const QJsonObject *project = data.ownedProject(captures.at(0), accountId);
                                if (!project)
                                    return notFound();
                                const QJsonObject *root = data.ownedProject(BackendData::rootId(*project), accountId);
                                if (!root)
                                    return BackendReply::json(200, QJsonValue(QJsonValue::Null));
                                QJsonArray rows;
                                double hours = root->value(QStringLiteral("totalHours")).toDouble();
                                double cost = root->value(QStringLiteral("totalCost")).toDouble();
                                const QJsonArray iterations = iterationsOf(data, BackendData::rootId(*root), accountId);
                                for (const QJsonValue &value : iterations) {
                                    const QJsonObject iteration = value.toObject();
                                    QJsonObject row;
                                    for (const QString &key :
                                         {QStringLiteral("id"), QStringLiteral("version"),
                                          QStringLiteral("iterationName"), QStringLiteral("createdAt"),
                                          QStringLiteral("totalHours"), QStringLiteral("totalCost"),
                                          QStringLiteral("status")}) {
                                        if (iteration.contains(key))
                                            row.insert(key, iteration.value(key));
                                    }
                                    rows.append(row);
                                    hours += iteration.value(QStringLiteral("totalHours")).toDouble();
                                    cost += iteration.value(QStringLiteral("totalCost")).toDouble();
                                }
                                return BackendReply::json(
                                    200,
                                    QJsonObject{{QStringLiteral("project"), *root},
                                                {QStringLiteral("iterations"), rows},
                                                {QStringLiteral("summary"),
                                                 QJsonObject{{QStringLiteral("totalHoursAll"), hours},
                                                             {QStringLiteral("totalCostAll"), cost},
                                                             {QStringLiteral("iterationsCount"), iterations.size()}}}});
                            });
}

} // namespace ProjectsApi
