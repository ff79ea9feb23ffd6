#include "UpdateProjectRequest.h"

#include "Utils/JsonWriter.h"

QJsonObject UpdateProjectRequest::toJson(const JsonPath &path) const
{
    JsonWriter w(path);
    w.set(QStringLiteral("name"), name).set(QStringLiteral("clientName"), clientName);
    if (status)
        w.set(QStringLiteral("status"), ::toJson(*status));
    w.setList(QStringLiteral("items"), items,
              [](const ProjectItem &item, const JsonPath &itemPath) { return item.toJson(itemPath); })
        .set(QStringLiteral("defaultRate"), defaultRate)
        .set(QStringLiteral("currency"), currency)
        .set(QStringLiteral("projectType"), projectType)
        .set(QStringLiteral("iterationStartedAt"), iterationStartedAt);
    return w.object();
}

UpdateProjectRequest UpdateProjectRequest::fromEditedProject(const Project &edited)
{
    UpdateProjectRequest request;
    forEachEditedField([&](auto requestField, auto projectField) { request.*requestField = edited.*projectField; });
    return request;
}
