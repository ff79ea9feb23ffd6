#pragma once

#include "TestBackend.h"

#include <QObject>
#include <QThread>
#include <QUrl>
#include <functional>

// The test backend answering from a thread of its own, so that only the app's work counts
// against the window's thread.
class BenchBackendThread
{
public:
    BenchBackendThread()
    {
        m_thread.start();
        m_home.moveToThread(&m_thread);
        onBackend([this](TestBackend &) {});
    }
    ~BenchBackendThread()
    {
        QMetaObject::invokeMethod(
            &m_home, [this] { delete m_server; }, Qt::BlockingQueuedConnection);
        m_thread.quit();
        m_thread.wait();
    }
    // Runs on the backend's thread, the caller waiting: seeding it, reading what it holds.
    void onBackend(const std::function<void(TestBackend &)> &work)
    {
        QMetaObject::invokeMethod(
            &m_home,
            [this, &work] {
                if (!m_server) {
                    m_server = new TestBackend;
                    m_server->start();
                    url = m_server->baseUrl();
                }
                work(*m_server);
            },
            Qt::BlockingQueuedConnection);
    }
    // Forgets the requests logged so far, with their bodies.
    void clearRequests()
    {
        onBackend([](TestBackend &server) { server.clearRequests(); });
    }

    QUrl url;

private:
    QThread m_thread;
    QObject m_home;
    TestBackend *m_server = nullptr;
};
