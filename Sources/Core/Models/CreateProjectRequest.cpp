#include "CreateProjectRequest.h"

#include "Utils/JsonWriter.h"

QJsonObject CreateProjectRequest::toJson(const JsonPath &path) const
{
    JsonWriter w(path);
    w.set(QStringLiteral("name"), name)
        .set(QStringLiteral("clientName"), clientName)
        .set(QStringLiteral("currency"), currency);
    if (status)
        w.set(QStringLiteral("status"), ::toJson(*status));
    w.set(QStringLiteral("defaultRate"), defaultRate)
        .set(QStringLiteral("templateId"), templateId)
        .setList(QStringLiteral("items"), items,
                 [](const ProjectItem &item, const JsonPath &itemPath) { return item.toJson(itemPath); })
        .set(QStringLiteral("sphereId"), sphereId);
    return w.object();
}
