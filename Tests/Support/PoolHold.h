#pragma once

#include <QSemaphore>
#include <QThreadPool>

// Holds every thread of a pool the test owns (and gave the code under test) until released: work
// handed to it (a read of the device store, a render, rows worked out) waits meanwhile, so that
// what shows while it runs is seen however fast the machine is. Never Qt's global pool, which
// Qt's own painting waits for.
class PoolHold
{
public:
    explicit PoolHold(QThreadPool &pool)
        : m_threads(pool.maxThreadCount())
    {
        for (int i = 0; i < m_threads; ++i)
            pool.start([this] {
                m_started.release();
                m_release.acquire();
                m_ended.release();
            });
        m_started.acquire(m_threads);
    }
    ~PoolHold() { release(); }
    PoolHold(const PoolHold &) = delete;
    PoolHold &operator=(const PoolHold &) = delete;

    // Lets the held threads go and waits until none of them still needs this hold.
    void release()
    {
        m_release.release(m_threads);
        m_ended.acquire(m_threads);
        m_threads = 0;
    }

private:
    int m_threads;
    QSemaphore m_started;
    QSemaphore m_release;
    QSemaphore m_ended;
};
