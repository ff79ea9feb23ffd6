#include "CreateIterationRequest.h"

#include "Utils/JsonWriter.h"

QJsonObject CreateIterationRequest::toJson(const JsonPath &path) const
{
    JsonWriter w(path);
    w.set(QStringLiteral("iterationName"), iterationName)
        .set(QStringLiteral("iterationNotes"), iterationNotes)
        .set(QStringLiteral("version"), version)
        .set(QStringLiteral("copyBudget"), copyBudget)
        .setList(QStringLiteral("items"), items,
                 [](const ProjectItem &item, const JsonPath &itemPath) { return item.toJson(itemPath); });
    return w.object();
}
