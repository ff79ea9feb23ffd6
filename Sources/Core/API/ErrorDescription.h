#pragma once

#include <QString>
#include <exception>

// The text a service publishes for a failure: the error's own description for the errors of the
// client and the device store, a text of its own for a record that cannot be read or written;
// any other error (the credential store's among them) by its what(), read as UTF-8.
QString errorDescription(const std::exception &error);
