#pragma once

#include <QSemaphore>
#include <QThreadPool>

// Holds every thread of the shared pool until released: work handed to the pool (a read of the
// device store, a render, rows worked out) waits meanwhile, so that what shows while it runs is
// seen however fast the machine is.
class PoolHold
{
public:
    PoolHold()
        : m_threads(QThreadPool::globalInstance()->maxThreadCount())
    {
        for (int i = 0; i < m_threads; ++i)
            QThreadPool::globalInstance()->start([this] {
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
