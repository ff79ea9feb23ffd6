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

bool hasOwnColumns(const QSqlDatabase &db)
{
    QSqlQuery query = run(db, QStringLiteral("SELECT name FROM pragma_table_info('LocalProjectRecord') ORDER BY cid"));
    QStringList columns;
    while (query.next())
        columns.append(query.value(0).toString());
    return columns
        == QStringList{QStringLiteral("id"), QStringLiteral("projectData"), QStringLiteral("updatedAt"),
                       QStringLiteral("seq")};
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
    if (version != 0 && version != ModelContainer::schemaVersion)
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
    if (hasTable && !hasOwnColumns(db))
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

    // A store of ours that lost its table gets it back empty rather than failing every read.
    // seq orders writes that share a millisecond; it grows with every write.
    run(db, QStringLiteral("BEGIN IMMEDIATE"));
    try {
        run(db,
            QStringLiteral("CREATE TABLE IF NOT EXISTS LocalProjectRecord ("
                           "id TEXT PRIMARY KEY NOT NULL, "
                           "projectData BLOB NOT NULL, "
                           "updatedAt INTEGER NOT NULL, "
                           "seq INTEGER NOT NULL UNIQUE)"));
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

qint64 ModelContainer::count() const
{
    QSqlQuery query = run(connection(m_connectionName), QStringLiteral("SELECT COUNT(*) FROM LocalProjectRecord"));
    return query.next() ? query.value(0).toLongLong() : 0;
}

QDateTime ModelContainer::upsert(const QString &id, const QByteArray &projectData)
{
    const QDateTime stamp = QDateTime::fromMSecsSinceEpoch(m_clock().toMSecsSinceEpoch(), Qt::UTC);
    run(connection(m_connectionName),
        QStringLiteral("INSERT INTO LocalProjectRecord (id, projectData, updatedAt, seq) "
                       "VALUES (?, ?, ?, (SELECT COALESCE(MAX(seq), 0) + 1 FROM LocalProjectRecord)) "
                       "ON CONFLICT(id) DO UPDATE SET projectData = excluded.projectData, "
                       "updatedAt = excluded.updatedAt, seq = excluded.seq"),
        {idValue(id), projectData, stamp.toMSecsSinceEpoch()});
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
