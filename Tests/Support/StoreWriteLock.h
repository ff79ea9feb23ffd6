#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

// The write lock of a store file held through a connection of its own, as another program's
// write would hold it: the app's writes wait (up to the driver's busy timeout, 5 s) until
// release(), which commits what was run meanwhile. Reads go on.
class StoreWriteLock
{
public:
    explicit StoreWriteLock(const QString &path)
        : m_name(QStringLiteral("write-lock-%1").arg(quintptr(this)))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        m_locked = db.open() && QSqlQuery(db).exec(QStringLiteral("BEGIN IMMEDIATE"));
    }
    ~StoreWriteLock() { release(); }
    StoreWriteLock(const StoreWriteLock &) = delete;
    StoreWriteLock &operator=(const StoreWriteLock &) = delete;

    bool locked() const { return m_locked; }
    // One statement inside the held transaction.
    bool run(const QString &sql) const
    {
        return m_locked && QSqlQuery(QSqlDatabase::database(m_name, false)).exec(sql);
    }
    void release()
    {
        if (m_name.isEmpty())
            return;
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            if (m_locked)
                QSqlQuery(db).exec(QStringLiteral("COMMIT"));
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
        m_name.clear();
        m_locked = false;
    }

private:
    QString m_name;
    bool m_locked = false;
};
