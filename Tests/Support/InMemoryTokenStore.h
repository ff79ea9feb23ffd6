#pragma once

#include "Auth/KeychainError.h"
#include "Auth/TokenStore.h"

// A token store in memory, for services under test. refuseSaves makes every save fail as a
// credential store that is locked would.
class InMemoryTokenStore : public TokenStore
{
public:
    std::optional<QString> load() const override
    {
        ++loads;
        return token;
    }
    void save(const QString &value) override
    {
        ++saves;
        token.reset();
        if (refuseSaves)
            throw KeychainError::saveFailed(refusedStatus, QStringLiteral("The keyring is locked"));
        token = value;
    }
    void remove() override
    {
        ++removals;
        token.reset();
    }

    std::optional<QString> token;
    bool refuseSaves = false;
    int refusedStatus = 5;
    mutable int loads = 0;
    int saves = 0;
    int removals = 0;
};
