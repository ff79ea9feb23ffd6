#include "ErrorDescription.h"

#include "API/APIError.h"
#include "Data/StoreError.h"
#include "Data/StoreMessages.h"
#include "Utils/DecodingError.h"
#include "Utils/EncodingError.h"

QString errorDescription(const std::exception &error)
{
    if (const auto *api = dynamic_cast<const APIError *>(&error))
        return api->errorDescription();
    if (const auto *store = dynamic_cast<const StoreError *>(&error))
        return store->description();
    // The coders' own words name JSON paths and types: the log keeps them, a person reads what
    // happened. Outside an answer of the backend (an APIError above), only a record of the device
    // store is decoded where a failure is shown.
    if (const auto *encoding = dynamic_cast<const EncodingError *>(&error)) {
        qWarning("not written: %s", qPrintable(encoding->description()));
        return QStringLiteral("Данные не записаны: в них есть число, которое нельзя сохранить (бесконечность или "
                              "не число). Исправьте часы, ставки и суммы и повторите.");
    }
    if (const auto *decoding = dynamic_cast<const DecodingError *>(&error)) {
        qWarning("not read: %s", qPrintable(decoding->description()));
        return StoreMessages::unreadableProject();
    }
    return QString::fromUtf8(error.what());
}
