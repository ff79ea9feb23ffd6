#pragma once

#include <QString>
#include <optional>

// Where the one access token is kept. The application uses the credential store; tests may
// stand a store in memory in its place.
class TokenStore
{
public:
    virtual ~TokenStore() = default;
    virtual std::optional<QString> load() const = 0;
    // Replaces the stored token; throws KeychainError when it cannot be stored (nothing is then stored).
    virtual void save(const QString &token) = 0;
    // Never fails.
    virtual void remove() = 0;
};
