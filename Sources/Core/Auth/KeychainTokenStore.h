#pragma once

#include "TokenStore.h"

#include <QByteArray>
#include <QString>

namespace QKeychain {
class Job;
}

// The access token in the Secret Service, one generic secret under a fixed service name and the
// account "access_token". The token is read once, at first use, and kept current by save and
// remove, so that load() answers at once on any request. No plaintext fallback.
class KeychainTokenStore : public TokenStore
{
public:
    static QString defaultServiceName();
    static QString accountName();
    // A locked or not yet created keyring makes the Secret Service ask the user for a password in
    // a prompt of its own; the job has to outlast the typing.
    static constexpr int defaultJobTimeout = 120000;

    explicit KeychainTokenStore(QString serviceName = defaultServiceName(), int jobTimeoutMs = defaultJobTimeout);

    static KeychainTokenStore &shared();

    std::optional<QString> load() const override;
    void save(const QString &token) override;
    void remove() override;

    // Reads the credential store anew (for tests and for a store that was not readable at start).
    void reload() const;

private:
    struct JobResult
    {
        bool finished = false;
        int error = 0;
        QString errorString;
        QByteArray data;
    };
    // Runs one job to its end, or gives up after the timeout (a locked keyring may never answer).
    JobResult run(QKeychain::Job *job) const;
    JobResult deleteItem() const;

    QString m_serviceName;
    int m_jobTimeout;
    mutable bool m_loaded = false;
    mutable std::optional<QString> m_token;
};
