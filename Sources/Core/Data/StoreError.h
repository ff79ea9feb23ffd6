#pragma once

#include <QString>
#include <stdexcept>

// A failure of the device store (open, read or write). description() is the store's own text,
// shown unchanged by the services.
class StoreError : public std::runtime_error
{
public:
    explicit StoreError(const QString &description)
        : std::runtime_error(description.toStdString())
        , m_description(description)
    {
    }
    const QString &description() const { return m_description; }

private:
    QString m_description;
};
