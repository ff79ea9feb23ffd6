#pragma once

#include "LocalProjectRecord.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

// The device store: one SQLite file (or an in-memory database) holding LocalProjectRecord rows,
// and beside them the uploads into an account that were started for some of them.
// Every write is one statement in autocommit mode, so it is durable when the call returns; a
// record's JSON and its summary go in the same statement.
// Not thread-safe: one container serves the thread that opened it. Another thread opens a reader
// or a writer of its own on the same file.
class ModelContainer
{
public:
    // Schema 1.2.0, kept in PRAGMA user_version as major * 10000 + minor * 100 + patch.
    static constexpr int schemaVersion = 10200;
    // Schema 1.1.0 had no uploads; such a store gets their table at open.
    static constexpr int summarySchemaVersion = 10100;
    // Schema 1.0.0 kept the JSON alone; such a store gets its summaries once, at open.
    static constexpr int jsonOnlySchemaVersion = 10000;

    // Opens or creates the store at filePath (its folder is created), upgrading an older store in
    // one transaction: a failed upgrade leaves the file as it was. Throws StoreError.
    static std::shared_ptr<ModelContainer> open(const QString &filePath);
    // A second connection to the store another container opened at filePath, for reading on the
    // calling thread; it neither makes nor upgrades anything. Throws StoreError.
    static std::shared_ptr<ModelContainer> openReader(const QString &filePath);
    // The same for writes from the calling thread, as durable as the first connection's and held
    // to its page limit (pageLimit()), so that a limit set on that connection holds for the
    // writes made beside it.
    static std::shared_ptr<ModelContainer> openWriter(const QString &filePath, qint64 pageLimit);
    // A private store that lives in memory only. Throws StoreError.
    static std::shared_ptr<ModelContainer> openInMemory();

    ~ModelContainer();
    ModelContainer(const ModelContainer &) = delete;
    ModelContainer &operator=(const ModelContainer &) = delete;

    bool isStoredInMemoryOnly() const { return m_filePath.isEmpty(); }
    QString filePath() const { return m_filePath; }

    // Newest write first; writes within the same millisecond in reverse write order.
    QList<LocalProjectRecord> fetchAllSorted() const;
    // The same order with each record's summary, one record at a time, so that the whole store is
    // never held twice; the JSON is read only for records without a summary.
    void forEachSummarySorted(const std::function<void(const LocalProjectRecord &)> &visit) const;
    // Exact, case-sensitive match; at most one record since the identity is unique.
    QList<LocalProjectRecord> fetch(const QString &id) const;
    qint64 count() const;
    // How many pages this connection lets the file grow to (PRAGMA max_page_count).
    qint64 pageLimit() const;

    // Inserts or replaces the record of id, stamped with the clock. Returns the stamp.
    QDateTime upsert(const QString &id, const QByteArray &projectData,
                     const std::optional<LocalProjectSummary> &summary = std::nullopt);
    // upsert() of a record that is stored, in one transaction: false, and nothing written, when
    // there is none, so that a write from another connection never brings back a removed record.
    bool replace(const QString &id, const QByteArray &projectData,
                 const std::optional<LocalProjectSummary> &summary = std::nullopt);
    // Removing a record removes its upload with it.
    void remove(const QString &id);
    void removeAll();

    // An upload of the record id into an account, kept from before its request is sent until the
    // record goes, so that a later run can tell whether the account got it: knownIds are the
    // account's projects that already looked like it. Replaces an earlier one of id.
    void recordUpload(const QString &id, const QStringList &knownIds);
    // Every upload kept: record id -> the ids known before it.
    QHash<QString, QStringList> uploads() const;

    // The write stamp's clock; tests pin it to check ordering of same-millisecond writes.
    void setClock(std::function<QDateTime()> clock);

private:
    explicit ModelContainer(QString connectionName, QString filePath);
    void prepareSchema();
    void upgradeFromJsonOnly();

    QString m_connectionName;
    QString m_filePath;
    std::function<QDateTime()> m_clock;
};
