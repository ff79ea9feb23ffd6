#pragma once

#include "AccountTestBackend.h"
#include "QuickTestEnvironment.h"

// `testEnvironment` for Quick Tests whose windows talk to the test backend: the demo account is
// seeded, sign-in services and account projects use it, and each test starts signed out with
// the backend's overrides and recorded requests cleared.
class AccountQuickTestEnvironment : public QuickTestEnvironment
{
    Q_OBJECT

public:
    explicit AccountQuickTestEnvironment(std::unique_ptr<TestBackend> backend = std::make_unique<TestBackend>())
        : m_account(std::move(backend))
    {
    }

    bool start() { return m_account.start(); }

    Q_INVOKABLE void reset() override
    {
        QuickTestEnvironment::reset();
        m_account.tokens.remove();
        m_account.backend.release();
        m_account.backend.clearOverrides();
        m_account.backend.clearRequests();
    }
    // The answers to method + path wait until release().
    Q_INVOKABLE void hold(const QString &method, const QString &path) { m_account.backend.hold(method, path); }
    Q_INVOKABLE void release() { m_account.backend.release(); }
    Q_INVOKABLE int requestCount(const QString &method, const QString &path) const
    {
        return int(m_account.backend.requests(method, path).size());
    }
    // Whether the window's session token is still kept.
    Q_INVOKABLE bool hasStoredToken() const { return m_account.tokens.load().has_value(); }

protected:
    AccountTestBackend m_account;
};
