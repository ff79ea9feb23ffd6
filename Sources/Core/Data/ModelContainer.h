#pragma once

#include "LocalProjectRecord.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <functional>
#include <memory>

// The device store: one SQLite file (or an in-memory database) holding LocalProjectRecord rows.
// Every write is one statement in autocommit mode, so it is durable when the call returns.
// Not thread-safe: one container serves the thread that opened it.
class ModelContainer
{
public:
    // Schema 1.0.0, kept in PRAGMA user_version as major * 10000 + minor * 100 + patch.
    static constexpr int schemaVersion = 10000;

    // Opens or creates the store at filePath (its folder is created). Throws StoreError.
    static std::shared_ptr<ModelContainer> open(const QString &filePath);
    // A private store that lives in memory only. Throws StoreError.
    static std::shared_ptr<ModelContainer> openInMemory();

    ~ModelContainer();
    ModelContainer(const ModelContainer &) = delete;
    ModelContainer &operator=(const ModelContainer &) = delete;

    bool isStoredInMemoryOnly() const { return m_filePath.isEmpty(); }
    QString filePath() const { return m_filePath; }

    // Newest write first; writes within the same millisecond in reverse write order.
    QList<LocalProjectRecord> fetchAllSorted() const;
    // Exact, case-sensitive match; at most one record since the identity is unique.
    QList<LocalProjectRecord> fetch(const QString &id) const;
    qint64 count() const;

    // Inserts or replaces the record of id, stamped with the clock. Returns the stamp.
    QDateTime upsert(const QString &id, const QByteArray &projectData);
    void remove(const QString &id);
    void removeAll();

    // The write stamp's clock; tests pin it to check ordering of same-millisecond writes.
    void setClock(std::function<QDateTime()> clock);

private:
    explicit ModelContainer(QString connectionName, QString filePath);
    void prepareSchema();

    QString m_connectionName;
    QString m_filePath;
    std::function<QDateTime()> m_clock;
};
