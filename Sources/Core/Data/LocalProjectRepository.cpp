#include "LocalProjectRepository.h"

#include "Models/ProjectBytesDecoder.h"

LocalProjectRepository::LocalProjectRepository(std::shared_ptr<ModelContainer> context)
    : m_context(std::move(context))
{
}

QList<Project> LocalProjectRepository::fetchAllSorted() const
{
    return fetchAllReadable().projects;
}

LocalProjectListing LocalProjectRepository::fetchAllReadable() const
{
    LocalProjectListing listing;
    const QList<LocalProjectRecord> records = m_context->fetchAllSorted();
    listing.projects.reserve(records.size());
    ProjectBytesDecoder decoder;
    for (const LocalProjectRecord &record : records) {
        try {
            listing.projects.append(decoder.project(record.projectData));
        } catch (const DecodingError &error) {
            if (listing.unreadableIds.isEmpty())
                listing.firstFailure = error.description();
            listing.unreadableIds.append(record.id);
        }
    }
    return listing;
}

std::optional<Project> LocalProjectRepository::fetch(const QString &id) const
{
    const QList<LocalProjectRecord> records = m_context->fetch(id);
    if (records.isEmpty())
        return std::nullopt;
    return Project::fromJsonText(records.first().projectData);
}

void LocalProjectRepository::upsert(const Project &project) const
{
    const QByteArray data = project.recalculatedTotals().toJsonText();
    m_context->upsert(project.id, data);
}

void LocalProjectRepository::remove(const QString &id) const
{
    m_context->remove(id);
}

void LocalProjectRepository::deleteAll() const
{
    m_context->removeAll();
}
