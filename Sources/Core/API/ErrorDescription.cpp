#include "ErrorDescription.h"

#include "API/APIError.h"
#include "Data/StoreError.h"
#include "Utils/DecodingError.h"
#include "Utils/EncodingError.h"

QString errorDescription(const std::exception &error)
{
    if (const auto *api = dynamic_cast<const APIError *>(&error))
        return api->errorDescription();
    if (const auto *store = dynamic_cast<const StoreError *>(&error))
        return store->description();
    if (const auto *encoding = dynamic_cast<const EncodingError *>(&error))
        return encoding->description();
    if (const auto *decoding = dynamic_cast<const DecodingError *>(&error))
        return decoding->description();
    return QString::fromUtf8(error.what());
}
