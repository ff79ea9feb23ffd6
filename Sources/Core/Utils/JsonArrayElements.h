#pragma once

#include <QByteArrayView>
#include <QList>
#include <optional>

// The texts of a JSON array's elements, found by the brackets, quotes and commas around them
// without reading the values, so that each can be read (or recognised) on its own. None when the
// text is not one array; whether each element is a valid JSON value is for its reader to find.
namespace JsonArrayElements {

std::optional<QList<QByteArrayView>> split(QByteArrayView text);

} // namespace JsonArrayElements
