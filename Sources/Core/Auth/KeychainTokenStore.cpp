#include "KeychainTokenStore.h"

#include "KeychainError.h"

#include <QEventLoop>
#include <QStringDecoder>
#include <QTimer>
#include <qt6keychain/keychain.h>

QString KeychainTokenStore::defaultServiceName()
{
    return QStringLiteral("app.tessmark.desktop");
}

QString KeychainTokenStore::accountName()
{
    return QStringLiteral("access_token");
}

KeychainTokenStore::KeychainTokenStore(QString serviceName, int jobTimeoutMs)
    : m_serviceName(std::move(serviceName))
    , m_jobTimeout(jobTimeoutMs)
{
}

KeychainTokenStore &KeychainTokenStore::shared()
{
    static KeychainTokenStore instance;
    return instance;
}

KeychainTokenStore::JobResult KeychainTokenStore::run(QKeychain::Job *job) const
{
    JobResult result;
    job->setAutoDelete(true);
    job->setKey(accountName());
    QEventLoop loop;
    QObject::connect(job, &QKeychain::Job::finished, &loop, [&result, &loop](QKeychain::Job *done) {
        result.finished = true;
        result.error = done->error();
        result.errorString = done->errorString();
        if (auto *read = qobject_cast<QKeychain::ReadPasswordJob *>(done))
            result.data = read->binaryData();
        loop.quit();
    });
    QTimer::singleShot(m_jobTimeout, &loop, &QEventLoop::quit);
    job->start();
    if (!result.finished)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    return result;
}

KeychainTokenStore::JobResult KeychainTokenStore::deleteItem() const
{
    return run(new QKeychain::DeletePasswordJob(m_serviceName));
}

void KeychainTokenStore::reload() const
{
    const JobResult result = run(new QKeychain::ReadPasswordJob(m_serviceName));
    m_loaded = true;
    m_token.reset();
    if (!result.finished || result.error != QKeychain::NoError)
        return;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(result.data);
    if (!decoder.hasError())
        m_token = text;
}

std::optional<QString> KeychainTokenStore::load() const
{
    if (!m_loaded)
        reload();
    return m_token;
}

void KeychainTokenStore::save(const QString &token)
{
    // The old item goes first, so a refused write leaves nothing behind.
    deleteItem();
    m_loaded = true;
    m_token.reset();
    auto *job = new QKeychain::WritePasswordJob(m_serviceName);
    job->setBinaryData(token.toUtf8());
    const JobResult result = run(job);
    if (!result.finished) {
        // The write may still land (once the user answers the keyring's prompt, say) after the
        // caller was told it failed. Jobs run one at a time in the order started, so this removal
        // comes after it whatever its outcome, and before anything started later.
        auto *undo = new QKeychain::DeletePasswordJob(m_serviceName);
        undo->setAutoDelete(true);
        undo->setKey(accountName());
        undo->start();
        throw KeychainError::saveFailed(
            QKeychain::OtherError, QStringLiteral("no answer from the Secret Service within %1 ms").arg(m_jobTimeout));
    }
    if (result.error != QKeychain::NoError)
        throw KeychainError::saveFailed(result.error, result.errorString);
    m_token = token;
}

void KeychainTokenStore::remove()
{
    deleteItem();
    m_loaded = true;
    m_token.reset();
}
