#pragma once

#include <QObject>
#include <QPointer>

class QSocketNotifier;
class QWindow;

// SIGTERM, SIGINT and SIGHUP (a logout, a service manager, Ctrl+C in a terminal) end the
// application as closing its window does: a running save is finished first and unsaved edits are
// asked about, and with nothing to lose it quits at once. The handler only writes to a pipe; the
// window is closed from the event loop. One per process; the signals' default action comes back
// when it goes.
class EndSignals : public QObject
{
    Q_OBJECT

public:
    explicit EndSignals(QWindow *window, QObject *parent = nullptr);
    ~EndSignals() override;

    // Whether the handlers are in place (false when the pipe could not be made).
    bool isListening() const { return m_notifier != nullptr; }

Q_SIGNALS:
    // After the window was asked to close (or the application to quit, without a window).
    void received(int signal);

private:
    static void handle(int signal);
    void readSignals();

    QPointer<QWindow> m_window;
    QSocketNotifier *m_notifier = nullptr;
};
