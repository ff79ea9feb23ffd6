#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>

// Runs the event loop until the condition holds or the time is up; whether it holds.
template<typename Condition>
bool waitUntil(Condition condition, int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return condition();
}
