#include "ModelContainer.h"

#include "OwnerOnlyFiles.h"
#include "StoreError.h"
#include "StoreMessages.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <atomic>

namespace {

std::atomic<int> connectionCounter{0};

// SQLite's result codes this file names itself.
constexpr int permCode = 3;
constexpr int readOnlyCode = 8;
constexpr int ioErrCode = 10;
constexpr int cantOpenCode = 14;
constexpr int authCode = 23;

// A failure the file system may explain better than SQLite does.
bool isAccessFailure(int sqliteCode)
{
    switch (sqliteCode & 0xFF) {
    case permCode:
    case readOnlyCode:
    case ioErrCode:
    case cantOpenCode:
    case authCode:
        return true;
    default:
        return false;
    }
}

// The path a failure names: empty for a store in memory.
QString storePath(const QSqlDatabase &db)
{
    const QString name = db.databaseName();
    return name == QStringLiteral(":memory:") ? QString() : name;
}

// SQLite's and Qt's words (English, or Qt's translation of its own half) go to the log; the
// person reads the cause and what to do. filePath: the store's file, empty for one in memory.
[[noreturn]] void fail(const QSqlError &error, const QString &filePath)
{
    const int code = error.nativeErrorCode().toInt();
    const QString detail = error.text().trimmed();
    qWarning("device store: %s (%d)", qPrintable(detail), code);
    throw StoreError(StoreMessages::sqlFailure(code, filePath), code, detail);
}

QSqlQuery run(const QSqlDatabase &db, const QString &sql, const QVariantList &values = {})
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        fail(query.lastError(), storePath(db));
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (!query.exec())
        fail(query.lastError(), storePath(db));
    return query;
}

QList<LocalProjectRecord> readRecords(QSqlQuery &query, const QString &filePath)
{
    QList<LocalProjectRecord> records;
    while (query.next()) {
        records.append({query.value(0).toString(), query.value(1).toByteArray(),
                        QDateTime::fromMSecsSinceEpoch(query.value(2).toLongLong(), Qt::UTC), std::nullopt});
    }
    if (query.lastError().isValid())
        fail(query.lastError(), filePath);
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

const QStringList &uploadColumns()
{
    static const QStringList columns{QStringLiteral("id"), QStringLiteral("knownIds"), QStringLiteral("startedAt")};
    return columns;
}

QVariant nullText()
{
    return QVariant(QMetaType(QMetaType::QString));
}

// How one kind of summary field is bound to and read from its column. An empty text is stored
// as "" (a null QString would bind as NULL).
template<typename T>
struct ColumnCoding;
template<>
struct ColumnCoding<QString>
{
    static constexpr const char *sqlType = "TEXT";
    static QVariant write(const QString &value) { return value.isNull() ? QStringLiteral("") : value; }
    static QString read(const QVariant &value) { return value.toString(); }
};
template<>
struct ColumnCoding<std::optional<QString>>
{
    static constexpr const char *sqlType = "TEXT";
    static QVariant write(const std::optional<QString> &value)
    {
        return value ? ColumnCoding<QString>::write(*value) : nullText();
    }
    static std::optional<QString> read(const QVariant &value)
    {
        return value.isNull() ? std::nullopt : std::optional<QString>(value.toString());
    }
};
template<>
struct ColumnCoding<std::optional<qint64>>
{
    static constexpr const char *sqlType = "INTEGER";
    static QVariant write(const std::optional<qint64> &value)
    {
        return value ? QVariant(*value) : QVariant(QMetaType(QMetaType::LongLong));
    }
    static std::optional<qint64> read(const QVariant &value)
    {
        return value.isNull() ? std::nullopt : std::optional<qint64>(value.toLongLong());
    }
};
template<>
struct ColumnCoding<double>
{
    static constexpr const char *sqlType = "REAL";
    static QVariant write(double value) { return value; }
    static double read(const QVariant &value) { return value.toDouble(); }
};

template<auto Member>
struct MemberOf;
template<typename Owner, typename T, T Owner::*Member>
struct MemberOf<Member>
{
    using Type = T;
};

// One column of the summary: its name and type in the table, and how its field is written and read.
struct SummaryColumn
{
    QString name;
    QString type;
    QVariant (*write)(const LocalProjectSummary &);
    void (*read)(const QVariant &, LocalProjectSummary &);
};

template<auto Member>
SummaryColumn column(const char *name)
{
    using Coding = ColumnCoding<typename MemberOf<Member>::Type>;
    return {QString::fromLatin1(name), QString::fromLatin1(Coding::sqlType),
            [](const LocalProjectSummary &summary) { return Coding::write(summary.*Member); },
            [](const QVariant &value, LocalProjectSummary &summary) { summary.*Member = Coding::read(value); }};
}

// The summary's columns in table order, the one list of them. All may be NULL; the first (the
// name) is NULL when the record has no summary.
const QList<SummaryColumn> &summaryColumns()
{
    static const QList<SummaryColumn> columns{
        column<&LocalProjectSummary::name>("name"),
        column<&LocalProjectSummary::clientName>("clientName"),
        column<&LocalProjectSummary::status>("status"),
        column<&LocalProjectSummary::currency>("currency"),
        column<&LocalProjectSummary::projectType>("projectType"),
        column<&LocalProjectSummary::parentProjectId>("parentProjectId"),
        column<&LocalProjectSummary::baseProjectId>("baseProjectId"),
        column<&LocalProjectSummary::version>("version"),
        column<&LocalProjectSummary::iterationName>("iterationName"),
        column<&LocalProjectSummary::totalHours>("totalHours"),
        column<&LocalProjectSummary::totalCost>("totalCost"),
        column<&LocalProjectSummary::userId>("userId"),
        column<&LocalProjectSummary::createdAt>("projectCreatedAt"),
        column<&LocalProjectSummary::updatedAt>("projectUpdatedAt"),
    };
    return columns;
}

QStringList summaryColumnNames()
{
    QStringList names;
    for (const SummaryColumn &column : summaryColumns())
        names.append(column.name);
    return names;
}

// The values bound for summaryColumns(), in their order; all NULL without a summary.
QVariantList summaryValues(const std::optional<LocalProjectSummary> &summary)
{
    QVariantList values;
    values.reserve(summaryColumns().size());
    for (const SummaryColumn &column : summaryColumns())
        values.append(summary ? column.write(*summary) : nullText());
    return values;
}

// The summary read from the columns starting at first; absent when its name is NULL.
std::optional<LocalProjectSummary> readSummary(const QSqlQuery &query, int first)
{
    if (query.value(first).isNull())
        return std::nullopt;
    LocalProjectSummary summary;
    int at = first;
    for (const SummaryColumn &column : summaryColumns())
        column.read(query.value(at++), summary);
    return summary;
}

QStringList columnsOf(const QSqlDatabase &db, const QString &table)
{
    QSqlQuery query = run(db, QStringLiteral("SELECT name FROM pragma_table_info(?) ORDER BY cid"), {table});
    QStringList columns;
    while (query.next())
        columns.append(query.value(0).toString());
    return columns;
}

bool hasOwnColumns(const QSqlDatabase &db, int version)
{
    const QStringList columns = columnsOf(db, QStringLiteral("LocalProjectRecord"));
    if (version == ModelContainer::jsonOnlySchemaVersion)
        return columns == jsonOnlyColumns();
    return columns == jsonOnlyColumns() + summaryColumnNames();
}

struct FoundSchema
{
    int version = 0;
    bool hasTable = false;
    bool hasUploads = false;
};

bool isOurVersion(int version)
{
    return version == ModelContainer::schemaVersion || version == ModelContainer::summarySchemaVersion
        || version == ModelContainer::jsonOnlySchemaVersion;
}

// What the file holds. Throws StoreError for a file that holds anything of another program.
FoundSchema readSchema(const QSqlDatabase &db)
{
    const QString path = storePath(db);
    QSqlQuery versionQuery = run(db, QStringLiteral("PRAGMA user_version"));
    const int version = versionQuery.next() ? versionQuery.value(0).toInt() : 0;
    versionQuery.finish();
    if (version != 0 && !isOurVersion(version))
        throw StoreError(StoreMessages::unsupportedVersion(path, version));
    QSqlQuery tablesQuery = run(db,
                                QStringLiteral("SELECT name FROM sqlite_master WHERE type IN ('table', 'view') "
                                               "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY name"));
    FoundSchema found{version, false, false};
    while (tablesQuery.next()) {
        const QString table = tablesQuery.value(0).toString();
        if (table == QStringLiteral("LocalProjectRecord"))
            found.hasTable = true;
        else if (table == QStringLiteral("LocalCloudUpload"))
            found.hasUploads = true;
        else
            throw StoreError(StoreMessages::foreignTable(path, table));
    }
    tablesQuery.finish();
    // A table of our name in a file that never had our version is someone else's.
    if ((found.hasTable || found.hasUploads) && version == 0) {
        throw StoreError(StoreMessages::foreignTable(
            path, found.hasUploads ? QStringLiteral("LocalCloudUpload") : QStringLiteral("LocalProjectRecord")));
    }
    if (found.hasTable && !hasOwnColumns(db, version))
        throw StoreError(StoreMessages::foreignColumns(path, QStringLiteral("LocalProjectRecord")));
    if (found.hasUploads && columnsOf(db, QStringLiteral("LocalCloudUpload")) != uploadColumns())
        throw StoreError(StoreMessages::foreignColumns(path, QStringLiteral("LocalCloudUpload")));
    return found;
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
    const QString path = info.absoluteFilePath();
    // What went wrong is read from the file system where it tells: a folder that exists but may
    // not be written to is not "a folder that cannot be made".
    const auto refusal = [&path](const QString &otherwise) {
        const QString cause = StoreMessages::fileSystemCause(path);
        return StoreError(cause.isEmpty() ? otherwise : cause);
    };
    if (!OwnerOnlyFiles::makeFolder(info.absolutePath()))
        throw refusal(StoreMessages::folderNotPrepared(info.absolutePath()));
    // A new file is made before SQLite makes it, so that it and its journals are never readable by others.
    if (!info.exists() && !OwnerOnlyFiles::makeFile(path))
        throw refusal(StoreMessages::sqlFailure(cantOpenCode, path));
    // SQLite would open a file it may not write to for reading only, and fail at the first save.
    if (!OwnerOnlyFiles::canWrite(path))
        throw refusal(StoreMessages::sqlFailure(readOnlyCode, path));

    const QString name = QStringLiteral("tessmark-store-%1").arg(++connectionCounter);
    std::shared_ptr<ModelContainer> container(new ModelContainer(name, path));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(path);
    try {
        if (!db.open())
            fail(db.lastError(), path);
        container->prepareSchema();
    } catch (const StoreError &error) {
        if (!isAccessFailure(error.sqliteCode()))
            throw;
        const QString cause = StoreMessages::fileSystemCause(path);
        if (cause.isEmpty())
            throw;
        throw StoreError(cause, error.sqliteCode(), error.detail());
    }
    return container;
}

std::shared_ptr<ModelContainer> ModelContainer::openReader(const QString &filePath)
{
    const QString name = QStringLiteral("tessmark-store-%1").arg(++connectionCounter);
    std::shared_ptr<ModelContainer> container(new ModelContainer(name, QFileInfo(filePath).absoluteFilePath()));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(container->m_filePath);
    if (!db.open())
        fail(db.lastError(), container->m_filePath);
    QSqlQuery versionQuery = run(db, QStringLiteral("PRAGMA user_version"));
    const int version = versionQuery.next() ? versionQuery.value(0).toInt() : 0;
    if (version != schemaVersion)
        throw StoreError(StoreMessages::unsupportedVersion(container->m_filePath, version));
    return container;
}

std::shared_ptr<ModelContainer> ModelContainer::openWriter(const QString &filePath, qint64 pageLimit)
{
    std::shared_ptr<ModelContainer> container = openReader(filePath);
    const QSqlDatabase db = connection(container->m_connectionName);
    run(db, QStringLiteral("PRAGMA synchronous=FULL"));
    run(db, QStringLiteral("PRAGMA max_page_count = %1").arg(pageLimit));
    return container;
}

std::shared_ptr<ModelContainer> ModelContainer::openInMemory()
{
    const QString name = QStringLiteral("tessmark-store-%1").arg(++connectionCounter);
    std::shared_ptr<ModelContainer> container(new ModelContainer(name, {}));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(QStringLiteral(":memory:"));
    if (!db.open())
        fail(db.lastError(), {});
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
            if (!OwnerOnlyFiles::tightenFile(m_filePath + suffix)) {
                const QString cause = StoreMessages::fileSystemCause(m_filePath + suffix);
                throw StoreError(cause.isEmpty() ? StoreMessages::sqlFailure(permCode, m_filePath + suffix) : cause);
            }
        }
        // A journal that stays in another mode is one SQLite could not write beside the file.
        QSqlQuery mode = run(db, QStringLiteral("PRAGMA journal_mode=WAL"));
        if (!mode.next() || mode.value(0).toString().compare(QStringLiteral("wal"), Qt::CaseInsensitive) != 0)
            throw StoreError(StoreMessages::sqlFailure(readOnlyCode, m_filePath), readOnlyCode);
        mode.finish();
        run(db, QStringLiteral("PRAGMA synchronous=FULL"));
    }
    if (found.version == schemaVersion && found.hasTable && found.hasUploads)
        return;

    // All or nothing: an upgrade of an older store, or a new one, in one transaction. A store of
    // ours that lost its table gets it back empty rather than failing every read.
    run(db, QStringLiteral("BEGIN IMMEDIATE"));
    try {
        if (found.version == jsonOnlySchemaVersion && found.hasTable) {
            upgradeFromJsonOnly();
        } else {
            // seq orders writes that share a millisecond; it grows with every write.
            QString summaryDefinitions;
            for (const SummaryColumn &column : summaryColumns())
                summaryDefinitions += QStringLiteral(", %1 %2").arg(column.name, column.type);
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
        }
        // An upload is kept only while its device record lives: whatever removes the record
        // removes it in the same statement.
        run(db,
            QStringLiteral("CREATE TABLE IF NOT EXISTS LocalCloudUpload ("
                           "id TEXT PRIMARY KEY NOT NULL, "
                           "knownIds TEXT NOT NULL, "
                           "startedAt INTEGER NOT NULL)"));
        run(db,
            QStringLiteral("CREATE TRIGGER IF NOT EXISTS LocalCloudUploadGoesWithItsRecord "
                           "AFTER DELETE ON LocalProjectRecord "
                           "BEGIN DELETE FROM LocalCloudUpload WHERE id = old.id; END"));
        run(db, QStringLiteral("PRAGMA user_version = %1").arg(schemaVersion));
        run(db, QStringLiteral("COMMIT"));
    } catch (const StoreError &error) {
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        if (found.version == jsonOnlySchemaVersion && found.hasTable)
            throw StoreError(StoreMessages::upgradeFailed(error.description()), error.sqliteCode(), error.detail());
        throw;
    } catch (...) {
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        throw;
    }
}

// Inside the caller's transaction: the summary columns, and every record's summary.
void ModelContainer::upgradeFromJsonOnly()
{
    const QSqlDatabase db = connection(m_connectionName);
    for (const SummaryColumn &column : summaryColumns())
        run(db, QStringLiteral("ALTER TABLE LocalProjectRecord ADD COLUMN %1 %2").arg(column.name, column.type));
    QStringList assignments;
    for (const QString &name : summaryColumnNames())
        assignments.append(name + QStringLiteral(" = ?"));
    QSqlQuery update(db);
    if (!update.prepare(QStringLiteral("UPDATE LocalProjectRecord SET %1 WHERE id = ?")
                            .arg(assignments.join(QStringLiteral(", ")))))
        fail(update.lastError(), m_filePath);
    // Read whole before the first update, so that no row changes under the reading cursor.
    QSqlQuery query = run(db, QStringLiteral("SELECT id, projectData, updatedAt FROM LocalProjectRecord"));
    const QList<LocalProjectRecord> records = readRecords(query, m_filePath);
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
            fail(update.lastError(), m_filePath);
    }
    update.finish();
}

QList<LocalProjectRecord> ModelContainer::fetchAllSorted() const
{
    QSqlQuery query = run(connection(m_connectionName),
                          QStringLiteral("SELECT id, projectData, updatedAt FROM LocalProjectRecord "
                                         "ORDER BY updatedAt DESC, seq DESC"));
    return readRecords(query, m_filePath);
}

QList<LocalProjectRecord> ModelContainer::fetch(const QString &id) const
{
    QSqlQuery query = run(connection(m_connectionName),
                          QStringLiteral("SELECT id, projectData, updatedAt FROM LocalProjectRecord "
                                         "WHERE id = ?"),
                          {idValue(id)});
    return readRecords(query, m_filePath);
}

qint64 ModelContainer::pageLimit() const
{
    QSqlQuery query = run(connection(m_connectionName), QStringLiteral("PRAGMA max_page_count"));
    return query.next() ? query.value(0).toLongLong() : 0;
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
        fail(query.lastError(), m_filePath);
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

bool ModelContainer::replace(const QString &id, const QByteArray &projectData,
                             const std::optional<LocalProjectSummary> &summary)
{
    const QSqlDatabase db = connection(m_connectionName);
    run(db, QStringLiteral("BEGIN IMMEDIATE"));
    try {
        QSqlQuery found = run(db, QStringLiteral("SELECT 1 FROM LocalProjectRecord WHERE id = ?"), {idValue(id)});
        const bool stored = found.next();
        found.finish();
        if (stored)
            upsert(id, projectData, summary);
        run(db, QStringLiteral("COMMIT"));
        return stored;
    } catch (...) {
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        throw;
    }
}

void ModelContainer::remove(const QString &id)
{
    run(connection(m_connectionName), QStringLiteral("DELETE FROM LocalProjectRecord WHERE id = ?"), {idValue(id)});
}

void ModelContainer::removeAll()
{
    run(connection(m_connectionName), QStringLiteral("DELETE FROM LocalProjectRecord"));
}

void ModelContainer::recordUpload(const QString &id, const QStringList &knownIds)
{
    const QByteArray known = QJsonDocument(QJsonArray::fromStringList(knownIds)).toJson(QJsonDocument::Compact);
    run(connection(m_connectionName),
        QStringLiteral("INSERT INTO LocalCloudUpload (id, knownIds, startedAt) VALUES (?, ?, ?) "
                       "ON CONFLICT(id) DO UPDATE SET knownIds = excluded.knownIds, startedAt = excluded.startedAt"),
        {idValue(id), QString::fromUtf8(known), m_clock().toMSecsSinceEpoch()});
}

QHash<QString, QStringList> ModelContainer::uploads() const
{
    QSqlQuery query = run(connection(m_connectionName), QStringLiteral("SELECT id, knownIds FROM LocalCloudUpload"));
    QHash<QString, QStringList> uploads;
    while (query.next()) {
        QStringList known;
        for (const QJsonValue &value : QJsonDocument::fromJson(query.value(1).toString().toUtf8()).array())
            known.append(value.toString());
        uploads.insert(query.value(0).toString(), known);
    }
    if (query.lastError().isValid())
        fail(query.lastError(), m_filePath);
    return uploads;
}

void ModelContainer::setClock(std::function<QDateTime()> clock)
{
    m_clock = std::move(clock);
}
