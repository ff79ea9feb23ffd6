#pragma once

#include "Data/LocalProjectListing.h"
#include "Data/ModelContainer.h"
#include "Models/Project.h"

#include <QList>
#include <QString>
#include <memory>
#include <optional>

// Reads and writes guest projects as JSON in the device store. Copies share the store, so even
// writes leave the value itself unchanged.
// Failures are thrown unchanged: StoreError, DecodingError (reads), EncodingError (writes).
class LocalProjectRepository
{
public:
    explicit LocalProjectRepository(std::shared_ptr<ModelContainer> context);

    const std::shared_ptr<ModelContainer> &context() const { return m_context; }

    // Every stored project, most recently written first. A record that does not decode is left
    // out rather than hiding all the others; fetchListing() says which.
    QList<Project> fetchAllSorted() const;
    // The same list for the lists: every project without its lines, read from the summaries
    // beside the JSON; only a record without a summary has its JSON decoded.
    LocalProjectListing fetchListing() const;

    // Absent when nothing of that exact identity is stored.
    std::optional<Project> fetch(const QString &id) const;

    // Stores the project with its totals recomputed, and its summary in the same statement; the
    // caller's value is left as it is.
    // An encoding failure leaves the store untouched.
    void upsert(const Project &project) const;

    // upsert() of a project whose record is stored; false, and nothing written, when it is gone.
    bool replace(const Project &project) const;

    // Also forgets the record's upload into an account, if one was started.
    void remove(const QString &id) const;
    void deleteAll() const;

    // Kept before a project is sent to an account, until its record goes (ModelContainer).
    void recordUpload(const QString &id, const QStringList &knownIds) const;
    QHash<QString, QStringList> uploads() const;

private:
    std::shared_ptr<ModelContainer> m_context;
};
