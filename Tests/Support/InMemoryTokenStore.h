#pragma once

#include "Auth/KeychainError.h"
#include "Auth/TokenStore.h"

// A token store in memory, for services under test. refuseSaves makes every save fail as a
// credential store that is locked would.
class InMemoryTokenStore : public TokenStore
{
public:
    std::optional<QString> load() const override { return token; }
    void save(const QString &value) override
    {
        token.reset();
        if (refuseSaves)
            throw KeychainError::saveFailed(5, QStringLiteral("The keyring is locked"));
        token = value;
    }
    void remove() override { token.reset(); }

    std::optional<QString> token;
    bool refuseSaves = false;
};
