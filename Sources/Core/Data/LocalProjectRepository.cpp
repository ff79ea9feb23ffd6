#include "LocalProjectRepository.h"

#include "Models/ProjectBytesDecoder.h"

LocalProjectRepository::LocalProjectRepository(std::shared_ptr<ModelContainer> context)
    : m_context(std::move(context))
{
}

QList<Project> LocalProjectRepository::fetchAllSorted() const
{
    const QList<LocalProjectRecord> records = m_context->fetchAllSorted();
    QList<Project> projects;
    projects.reserve(records.size());
    ProjectBytesDecoder decoder;
    for (const LocalProjectRecord &record : records) {
        try {
            projects.append(decoder.project(record.projectData));
        } catch (const DecodingError &) {
            // Left out; the listing names it.
        }
    }
    return projects;
}

LocalProjectListing LocalProjectRepository::fetchListing() const
{
    LocalProjectListing listing;
    // Room for every record at once: a list grown step by step can hold almost twice the room.
    listing.projects.reserve(m_context->count());
    m_context->forEachSummarySorted([this, &listing](const LocalProjectRecord &record) {
        if (record.summary) {
            if (std::optional<Project> listed = record.summary->listedProject(record.id)) {
                listing.projects.append(std::move(*listed));
                return;
            }
        }
        try {
            const QByteArray data =
                record.projectData.isNull() ? m_context->fetch(record.id).value(0).projectData : record.projectData;
            const std::optional<Project> listed =
                LocalProjectSummary::of(Project::fromJsonText(data)).listedProject(record.id);
            if (listed)
                listing.projects.append(*listed);
        } catch (const DecodingError &error) {
            if (listing.unreadableIds.isEmpty())
                listing.firstFailure = error.description();
            listing.unreadableIds.append(record.id);
        }
    });
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
    const Project stored = project.recalculatedTotals();
    const QByteArray data = stored.toJsonText();
    m_context->upsert(project.id, data, LocalProjectSummary::of(stored));
}

bool LocalProjectRepository::replace(const Project &project) const
{
    const Project stored = project.recalculatedTotals();
    const QByteArray data = stored.toJsonText();
    return m_context->replace(project.id, data, LocalProjectSummary::of(stored));
}

void LocalProjectRepository::remove(const QString &id) const
{
    m_context->remove(id);
}

void LocalProjectRepository::deleteAll() const
{
    m_context->removeAll();
}

void LocalProjectRepository::recordUpload(const QString &id, const QStringList &knownIds) const
{
    m_context->recordUpload(id, knownIds);
}

QHash<QString, QStringList> LocalProjectRepository::uploads() const
{
    return m_context->uploads();
}
