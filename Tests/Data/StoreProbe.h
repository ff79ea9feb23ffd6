#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

// The first value of one statement run on a store file through a connection of its own, as
// another process would see the file.
inline QVariant probeStoreFile(const QString &path, const QString &sql)
{
    QVariant value;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("probe"));
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(sql) && query.next())
                value = query.value(0);
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("probe"));
    return value;
}

// Lets the connections this process holds on the store file grow it to that many pages at most
// (no fewer than it has): the next write that needs a page more fails as on a full disk. With
// compact, the free pages go back first, so that a write finds none to reuse.
inline bool limitStoreSize(const QString &path, int pages, bool compact = false)
{
    bool limited = false;
    for (const QString &name : QSqlDatabase::connectionNames()) {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        if (!db.isOpen() || db.databaseName() != path)
            continue;
        if (compact && !QSqlQuery(db).exec(QStringLiteral("VACUUM")))
            return false;
        compact = false;
        limited = QSqlQuery(db).exec(QStringLiteral("PRAGMA max_page_count = %1").arg(pages)) || limited;
    }
    return limited;
}
