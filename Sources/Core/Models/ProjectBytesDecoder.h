#pragma once

#include "Project.h"

#include <QByteArray>
#include <QList>
#include <memory>
#include <optional>

// Reads projects straight from JSON text into records, without building QJsonObjects first, with
// the outcome of Json::parse followed by Project::fromJson or Project::listFromJson. Only a
// well-formed text in the expected shape is read directly; anything else (bad JSON, a wrong kind,
// a missing or repeated key, a number that is not finite) is read again through those, so that
// the DecodingError keeps its text and path. Texts that recur from project to project
// (currencies, categories, owners) share one QString.
// Keeps its parser's buffers between calls: reuse one decoder over many documents.
class ProjectBytesDecoder
{
public:
    ProjectBytesDecoder();
    ~ProjectBytesDecoder();
    ProjectBytesDecoder(const ProjectBytesDecoder &) = delete;
    ProjectBytesDecoder &operator=(const ProjectBytesDecoder &) = delete;

    // Both throw DecodingError.
    Project project(const QByteArray &bytes);
    QList<Project> list(const QByteArray &bytes);

    // No value where the bytes are left to the QJsonValue reading.
    std::optional<Project> directProject(const QByteArray &bytes);
    std::optional<QList<Project>> directList(const QByteArray &bytes);

private:
    struct State;
    std::unique_ptr<State> m_state;
};
