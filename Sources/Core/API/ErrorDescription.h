#pragma once

#include <QString>
#include <exception>

// The text a service publishes for a failure: the error's own description when it has one
// (APIError, KeychainError, EncodingError, DecodingError), otherwise what the library says.
QString errorDescription(const std::exception &error);
