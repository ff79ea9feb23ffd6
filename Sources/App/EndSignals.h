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
    // window: the one to close; without it (or once it is hidden) the application quits.
    explicit EndSignals(QWindow *window, QObject *parent = nullptr);
    ~EndSignals() override;

private:
    static void handle(int signal);
    void readSignals();

    QPointer<QWindow> m_window;
    QSocketNotifier *m_notifier = nullptr;
};
