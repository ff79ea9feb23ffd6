#pragma once

#include "DecodingError.h"

#include <QByteArray>
#include <QJsonValue>

// Whole JSON texts in and out. Unlike QJsonDocument, any JSON value may stand at the top,
// including a bare null, number or string, as backend answers can.
namespace Json {

// Throws DecodingError (data corrupted) when bytes are not exactly one JSON value.
QJsonValue parse(const QByteArray &bytes);

QByteArray serialize(const QJsonValue &value);

} // namespace Json
