#include "DecodingError.h"

DecodingError::DecodingError(Kind kind, QString codingPath, QString debugDescription)
    : m_kind(kind)
    , m_codingPath(std::move(codingPath))
    , m_debugDescription(std::move(debugDescription))
    , m_what(description().toUtf8())
{
}

QString DecodingError::description() const
{
    QString kindText;
    switch (m_kind) {
    case Kind::KeyNotFound:
        kindText = QStringLiteral("keyNotFound");
        break;
    case Kind::ValueNotFound:
        kindText = QStringLiteral("valueNotFound");
        break;
    case Kind::TypeMismatch:
        kindText = QStringLiteral("typeMismatch");
        break;
    case Kind::DataCorrupted:
        kindText = QStringLiteral("dataCorrupted");
        break;
    }
    if (m_codingPath.isEmpty())
        return QStringLiteral("%1: %2").arg(kindText, m_debugDescription);
    return QStringLiteral("%1 at %2: %3").arg(kindText, m_codingPath, m_debugDescription);
}
