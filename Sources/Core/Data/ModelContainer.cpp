#include "ModelContainer.h"

#include "OwnerOnlyFiles.h"
#include "StoreError.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <atomic>

namespace {

std::atomic<int> connectionCounter{0};

[[noreturn]] void fail(const QSqlError &error)
{
    throw StoreError(error.text().trimmed());
}

QSqlQuery run(const QSqlDatabase &db, const QString &sql, const QVariantList &values = {})
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        fail(query.lastError());
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (!query.exec())
        fail(query.lastError());
    return query;
}

QList<LocalProjectRecord> readRecords(QSqlQuery &query)
{
    QList<LocalProjectRecord> records;
    while (query.next()) {
        records.append({query.value(0).toString(), query.value(1).toByteArray(),
                        QDateTime::fromMSecsSinceEpoch(query.value(2).toLongLong(), Qt::UTC)});
    }
    if (query.lastError().isValid())
        fail(query.lastError());
    return records;
}

// A null QString would bind as SQL NULL; the empty identity is a text like any other.
QString idValue(const QString &id)
{
    return id.isNull() ? QStringLiteral("") : id;
}

QSqlDatabase connection(const QString &name)
{
    return QSqlDatabase::database(name, false);
}

const QStringList &jsonOnlyColumns()
{
    static const QStringList columns{QStringLiteral("id"), QStringLiteral("projectData"), QStringLiteral("updatedAt"),
                                     QStringLiteral("seq")};
    return columns;
}

// The summary's columns with their types, in table order; all may be NULL, and a NULL name means
// the record has no summary.
const QList<std::pair<QString, QString>> &summaryColumns()
{
    static const QList<std::pair<QString, QString>> columns{
        {QStringLiteral("name"), QStringLiteral("TEXT")},
        {QStringLiteral("clientName"), QStringLiteral("TEXT")},
        {QStringLiteral("status"), QStringLiteral("TEXT")},
        {QStringLiteral("currency"), QStringLiteral("TEXT")},
        {QStringLiteral("projectType"), QStringLiteral("TEXT")},
        {QStringLiteral("parentProjectId"), QStringLiteral("TEXT")},
        {QStringLiteral("baseProjectId"), QStringLiteral("TEXT")},
        {QStringLiteral("version"), QStringLiteral("INTEGER")},
        {QStringLiteral("iterationName"), QStringLiteral("TEXT")},
        {QStringLiteral("totalHours"), QStringLiteral("REAL")},
        {QStringLiteral("totalCost"), QStringLiteral("REAL")},
        {QStringLiteral("userId"), QStringLiteral("TEXT")},
        {QStringLiteral("projectCreatedAt"), QStringLiteral("TEXT")},
        {QStringLiteral("projectUpdatedAt"), QStringLiteral("TEXT")},
    };
    return columns;
}

QStringList summaryColumnNames()
{
    QStringList names;
    for (const auto &[name, type] : summaryColumns())
        names.append(name);
    return names;
}

QVariant text(const std::optional<QString> &value)
{
    return value ? QVariant(value->isNull() ? QStringLiteral("") : *value) : QVariant(QMetaType(QMetaType::QString));
}

QVariant text(const QString &value)
{
    return value.isNull() ? QStringLiteral("") : value;
}

// The values bound for summaryColumns(), in their order; all NULL without a summary.
QVariantList summaryValues(const std::optional<LocalProjectSummary> &summary)
{
    if (!summary)
        return QVariantList(summaryColumns().size(), QVariant(QMetaType(QMetaType::QString)));
    return {text(summary->name),
            text(summary->clientName),
            text(summary->status),
            text(summary->currency),
            text(summary->projectType),
            text(summary->parentProjectId),
            text(summary->baseProjectId),
            summary->version ? QVariant(*summary->version) : QVariant(QMetaType(QMetaType::LongLong)),
            text(summary->iterationName),
            summary->totalHours,
            summary->totalCost,
            text(summary->userId),
            text(summary->createdAt),
            text(summary->updatedAt)};
}

std::optional<QString> optionalText(const QVariant &value)
{
    return value.isNull() ? std::nullopt : std::optional<QString>(value.toString());
}

// The summary read from the columns starting at first; absent when its name is NULL.
std::optional<LocalProjectSummary> readSummary(const QSqlQuery &query, int first)
{
    const QVariant name = query.value(first);
    if (name.isNull())
        return std::nullopt;
    LocalProjectSummary summary;
    summary.name = name.toString();
    summary.clientName = optionalText(query.value(first + 1));
    summary.status = query.value(first + 2).toString();
    summary.currency = query.value(first + 3).toString();
    summary.projectType = optionalText(query.value(first + 4));
    summary.parentProjectId = optionalText(query.value(first + 5));
    summary.baseProjectId = optionalText(query.value(first + 6));
    const QVariant version = query.value(first + 7);
    if (!version.isNull())
        summary.version = version.toLongLong();
    summary.iterationName = optionalText(query.value(first + 8));
    summary.totalHours = query.value(first + 9).toDouble();
    summary.totalCost = query.value(first + 10).toDouble();
    summary.userId = query.value(first + 11).toString();
    summary.createdAt = query.value(first + 12).toString();
    summary.updatedAt = query.value(first + 13).toString();
    return summary;
}

bool hasOwnColumns(const QSqlDatabase &db, int version)
{
    QSqlQuery query = run(db, QStringLiteral("SELECT name FROM pragma_table_info('LocalProjectRecord') ORDER BY cid"));
    QStringList columns;
    while (query.next())
        columns.append(query.value(0).toString());
    if (version == ModelContainer::jsonOnlySchemaVersion)
        return columns == jsonOnlyColumns();
    return columns == jsonOnlyColumns() + summaryColumnNames();
}

struct FoundSchema
{
    int version = 0;
    bool hasTable = false;
};

// What the file holds. Throws StoreError for a file that holds anything of another program.
FoundSchema readSchema(const QSqlDatabase &db)
{
    QSqlQuery versionQuery = run(db, QStringLiteral("PRAGMA user_version"));
    const int version = versionQuery.next() ? versionQuery.value(0).toInt() : 0;
    versionQuery.finish();
    if (version != 0 && version != ModelContainer::schemaVersion && version != ModelContainer::jsonOnlySchemaVersion)
        throw StoreError(QStringLiteral("unsupported schema version %1").arg(version));
    QSqlQuery tablesQuery = run(db,
                                QStringLiteral("SELECT name FROM sqlite_master WHERE type IN ('table', 'view') "
                                               "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY name"));
    bool hasTable = false;
    while (tablesQuery.next()) {
        const QString table = tablesQuery.value(0).toString();
        if (table != QStringLiteral("LocalProjectRecord"))
            throw StoreError(QStringLiteral("the file holds data of another program (table %1)").arg(table));
        hasTable = true;
    }
    tablesQuery.finish();
    // A table of our name in a file that never had our version is someone else's.
    if (hasTable && version == 0)
        throw StoreError(QStringLiteral("the file holds data of another program (table LocalProjectRecord)"));
    if (hasTable && !hasOwnColumns(db, version))
        throw StoreError(QStringLiteral("the table LocalProjectRecord has columns of another program"));
    return {version, hasTable};
}

} // namespace

ModelContainer::ModelContainer(QString connectionName, QString filePath)
    : m_connectionName(std::move(connectionName))
    , m_filePath(std::move(filePath))
    , m_clock([] { return QDateTime::currentDateTimeUtc(); })
{
}

ModelContainer::~ModelContainer()
{
    {
        QSqlDatabase db = connection(m_connectionName);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

std::shared_ptr<ModelContainer> ModelContainer::open(const QString &filePath)
{
    const QFileInfo info(filePath);
    if (!OwnerOnlyFiles::makeFolder(info.absolutePath()))
        throw StoreError(QStringLiteral("cannot create the folder %1").arg(info.absolutePath()));
    // A new file is made before SQLite makes it, so that it and its journals are never readable by others.
    if (!info.exists() && !OwnerOnlyFiles::makeFile(info.absoluteFilePath()))
        throw StoreError(QStringLiteral("cannot create the file %1").arg(info.absoluteFilePath()));

    const QString name = QStringLiteral("tessmark-store-%1").arg(++connectionCounter);
    std::shared_ptr<ModelContainer> container(new ModelContainer(name, info.absoluteFilePath()));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(info.absoluteFilePath());
    if (!db.open())
        fail(db.lastError());
    container->prepareSchema();
    return container;
}

std::shared_ptr<ModelContainer> ModelContainer::openReader(const QString &filePath)
{
    const QString name = QStringLiteral("tessmark-store-%1").arg(++connectionCounter);
    std::shared_ptr<ModelContainer> container(new ModelContainer(name, QFileInfo(filePath).absoluteFilePath()));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(container->m_filePath);
    if (!db.open())
        fail(db.lastError());
    QSqlQuery versionQuery = run(db, QStringLiteral("PRAGMA user_version"));
    const int version = versionQuery.next() ? versionQuery.value(0).toInt() : 0;
    if (version != schemaVersion)
        throw StoreError(QStringLiteral("unsupported schema version %1").arg(version));
    return container;
}

std::shared_ptr<ModelContainer> ModelContainer::openInMemory()
{
    const QString name = QStringLiteral("tessmark-store-%1").arg(++connectionCounter);
    std::shared_ptr<ModelContainer> container(new ModelContainer(name, {}));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(QStringLiteral(":memory:"));
    if (!db.open())
        fail(db.lastError());
    container->prepareSchema();
    return container;
}

void ModelContainer::prepareSchema()
{
    const QSqlDatabase db = connection(m_connectionName);

    // Read only, so that a file that is not ours is left exactly as it was found; one snapshot, so
    // that a store another process is making is seen either before or after.
    run(db, QStringLiteral("BEGIN"));
    FoundSchema found;
    try {
        found = readSchema(db);
        run(db, QStringLiteral("COMMIT"));
    } catch (...) {
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        throw;
    }
    if (!isStoredInMemoryOnly()) {
        // Files from before stores were private; their journals are tightened before SQLite reuses them.
        for (const QString &suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")}) {
            if (!OwnerOnlyFiles::tightenFile(m_filePath + suffix))
                throw StoreError(QStringLiteral("cannot make %1 private").arg(m_filePath + suffix));
        }
        QSqlQuery mode = run(db, QStringLiteral("PRAGMA journal_mode=WAL"));
        if (!mode.next() || mode.value(0).toString().compare(QStringLiteral("wal"), Qt::CaseInsensitive) != 0)
            throw StoreError(QStringLiteral("cannot switch the journal to WAL"));
        mode.finish();
        run(db, QStringLiteral("PRAGMA synchronous=FULL"));
    }
    if (found.version == schemaVersion && found.hasTable)
        return;
    if (found.version == jsonOnlySchemaVersion && found.hasTable) {
        upgradeFromJsonOnly();
        return;
    }

    // A store of ours that lost its table gets it back empty rather than failing every read.
    // seq orders writes that share a millisecond; it grows with every write.
    QString summaryDefinitions;
    for (const auto &[name, type] : summaryColumns())
        summaryDefinitions += QStringLiteral(", %1 %2").arg(name, type);
    run(db, QStringLiteral("BEGIN IMMEDIATE"));
    try {
        run(db,
            QStringLiteral("CREATE TABLE IF NOT EXISTS LocalProjectRecord ("
                           "id TEXT PRIMARY KEY NOT NULL, "
                           "projectData BLOB NOT NULL, "
                           "updatedAt INTEGER NOT NULL, "
                           "seq INTEGER NOT NULL UNIQUE%1)")
                .arg(summaryDefinitions));
        run(db,
            QStringLiteral("CREATE INDEX IF NOT EXISTS LocalProjectRecordByWrite "
                           "ON LocalProjectRecord (updatedAt, seq)"));
        run(db, QStringLiteral("PRAGMA user_version = %1").arg(schemaVersion));
        run(db, QStringLiteral("COMMIT"));
    } catch (...) {
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        throw;
    }
}

void ModelContainer::upgradeFromJsonOnly()
{
    const QSqlDatabase db = connection(m_connectionName);
    // All or nothing: the columns, every record's summary and the version in one transaction.
    run(db, QStringLiteral("BEGIN IMMEDIATE"));
    try {
        for (const auto &[name, type] : summaryColumns())
            run(db, QStringLiteral("ALTER TABLE LocalProjectRecord ADD COLUMN %1 %2").arg(name, type));
        QStringList assignments;
        for (const QString &name : summaryColumnNames())
            assignments.append(name + QStringLiteral(" = ?"));
        QSqlQuery update(db);
        if (!update.prepare(QStringLiteral("UPDATE LocalProjectRecord SET %1 WHERE id = ?")
                                .arg(assignments.join(QStringLiteral(", ")))))
            fail(update.lastError());
        // Read whole before the first update, so that no row changes under the reading cursor.
        QSqlQuery query = run(db, QStringLiteral("SELECT id, projectData, updatedAt FROM LocalProjectRecord"));
        const QList<LocalProjectRecord> records = readRecords(query);
        query.finish();
        for (const LocalProjectRecord &record : records) {
            // A record that does not read keeps no summary and stays listed as unreadable.
            const std::optional<LocalProjectSummary> summary = LocalProjectSummary::ofProjectData(record.projectData);
            if (!summary)
                continue;
            int at = 0;
            for (const QVariant &value : summaryValues(summary))
                update.bindValue(at++, value);
            update.bindValue(at, record.id);
            if (!update.exec())
                fail(update.lastError());
        }
        update.finish();
        run(db, QStringLiteral("PRAGMA user_version = %1").arg(schemaVersion));
        run(db, QStringLiteral("COMMIT"));
    } catch (const StoreError &error) {
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        throw StoreError(QStringLiteral("cannot upgrade the store from schema 1.0.0, it is left as it was: %1")
                             .arg(error.description()));
    } catch (...) {
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        throw;
    }
}

QList<LocalProjectRecord> ModelContainer::fetchAllSorted() const
{
    QSqlQuery query = run(connection(m_connectionName),
                          QStringLiteral("SELECT id, projectData, updatedAt FROM LocalProjectRecord "
                                         "ORDER BY updatedAt DESC, seq DESC"));
    return readRecords(query);
}

QList<LocalProjectRecord> ModelContainer::fetch(const QString &id) const
{
    QSqlQuery query = run(connection(m_connectionName),
                          QStringLiteral("SELECT id, projectData, updatedAt FROM LocalProjectRecord "
                                         "WHERE id = ?"),
                          {idValue(id)});
    return readRecords(query);
}

void ModelContainer::forEachSummarySorted(const std::function<void(const LocalProjectRecord &)> &visit) const
{
    QSqlQuery query = run(connection(m_connectionName),
                          QStringLiteral("SELECT id, CASE WHEN name IS NULL THEN projectData END, updatedAt, %1 "
                                         "FROM LocalProjectRecord ORDER BY updatedAt DESC, seq DESC")
                              .arg(summaryColumnNames().join(QStringLiteral(", "))));
    while (query.next()) {
        visit({query.value(0).toString(), query.value(1).toByteArray(),
               QDateTime::fromMSecsSinceEpoch(query.value(2).toLongLong(), Qt::UTC), readSummary(query, 3)});
    }
    if (query.lastError().isValid())
        fail(query.lastError());
}

qint64 ModelContainer::count() const
{
    QSqlQuery query = run(connection(m_connectionName), QStringLiteral("SELECT COUNT(*) FROM LocalProjectRecord"));
    return query.next() ? query.value(0).toLongLong() : 0;
}

QDateTime ModelContainer::upsert(const QString &id, const QByteArray &projectData,
                                 const std::optional<LocalProjectSummary> &summary)
{
    static const QString statement = [] {
        const QStringList names = summaryColumnNames();
        QStringList assignments;
        for (const QString &name : names)
            assignments.append(QStringLiteral("%1 = excluded.%1").arg(name));
        return QStringLiteral("INSERT INTO LocalProjectRecord (id, projectData, updatedAt, seq, %1) "
                              "VALUES (?, ?, ?, (SELECT COALESCE(MAX(seq), 0) + 1 FROM LocalProjectRecord)%2) "
                              "ON CONFLICT(id) DO UPDATE SET projectData = excluded.projectData, "
                              "updatedAt = excluded.updatedAt, seq = excluded.seq, %3")
            .arg(names.join(QStringLiteral(", ")), QStringLiteral(", ?").repeated(names.size()),
                 assignments.join(QStringLiteral(", ")));
    }();
    const QDateTime stamp = QDateTime::fromMSecsSinceEpoch(m_clock().toMSecsSinceEpoch(), Qt::UTC);
    run(connection(m_connectionName), statement,
        QVariantList{idValue(id), projectData, stamp.toMSecsSinceEpoch()} + summaryValues(summary));
    return stamp;
}

void ModelContainer::remove(const QString &id)
{
    run(connection(m_connectionName), QStringLiteral("DELETE FROM LocalProjectRecord WHERE id = ?"), {idValue(id)});
}

void ModelContainer::removeAll()
{
    run(connection(m_connectionName), QStringLiteral("DELETE FROM LocalProjectRecord"));
}

void ModelContainer::setClock(std::function<QDateTime()> clock)
{
    m_clock = std::move(clock);
}
