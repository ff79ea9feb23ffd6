#pragma once

#include <QString>
#include <stdexcept>

// A failure of the device store (open, read or write). description() is the text a person reads
// (shown unchanged by the services); detail() the store's own words, for the log.
class StoreError : public std::runtime_error
{
public:
    // sqliteCode: SQLite's result code when a statement failed, 0 otherwise.
    explicit StoreError(const QString &description, int sqliteCode = 0, const QString &detail = {})
        : std::runtime_error(description.toStdString())
        , m_description(description)
        , m_sqliteCode(sqliteCode)
        , m_detail(detail)
    {
    }
    const QString &description() const { return m_description; }
    int sqliteCode() const { return m_sqliteCode; }
    const QString &detail() const { return m_detail; }

private:
    QString m_description;
    int m_sqliteCode = 0;
    QString m_detail;
};
