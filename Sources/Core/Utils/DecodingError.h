#pragma once

#include <QString>
#include <exception>

// A record that could not be read from JSON. Carries where and why, in the decoder's technical
// words: description() is for logs and tests, never shown to a person as it is.
class DecodingError : public std::exception
{
public:
    enum class Kind { KeyNotFound, ValueNotFound, TypeMismatch, DataCorrupted };

    DecodingError(Kind kind, QString codingPath, QString debugDescription);

    Kind kind() const { return m_kind; }
    // Dotted path of the failing value, e.g. "items[2].hours"; empty for the top level.
    const QString &codingPath() const { return m_codingPath; }
    const QString &debugDescription() const { return m_debugDescription; }
    QString description() const;
    const char *what() const noexcept override { return m_what.constData(); }

private:
    Kind m_kind;
    QString m_codingPath;
    QString m_debugDescription;
    QByteArray m_what;
};
