#pragma once

#include <QString>
#include <stdexcept>

// A record that cannot be written as JSON, such as a number that is not finite: Qt would write
// it as null and the stored or sent document would no longer read back.
class EncodingError : public std::runtime_error
{
public:
    EncodingError(const QString &codingPath, const QString &reason)
        : std::runtime_error(QStringLiteral("%1: %2").arg(codingPath, reason).toStdString())
        , m_codingPath(codingPath)
        , m_reason(reason)
    {
    }
    const QString &codingPath() const { return m_codingPath; }
    QString description() const { return QString::fromStdString(what()); }

private:
    QString m_codingPath;
    QString m_reason;
};
