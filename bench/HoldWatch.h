#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>

// The longest the event loop went without running a timer due every 2 ms.
class HoldWatch
{
public:
    HoldWatch()
    {
        m_timer.setInterval(2);
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            m_longestMs = std::max(m_longestMs, double(m_clock.nsecsElapsed()) / 1e6);
            m_clock.restart();
        });
    }
    void start()
    {
        m_longestMs = 0;
        m_clock.start();
        m_timer.start();
    }
    double stop()
    {
        m_timer.stop();
        return std::max(m_longestMs, double(m_clock.nsecsElapsed()) / 1e6);
    }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    double m_longestMs = 0;
};
