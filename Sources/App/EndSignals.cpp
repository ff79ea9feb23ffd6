#include "EndSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QWindow>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::array endSignals{SIGTERM, SIGINT, SIGHUP};
// Read end, write end; -1 while none is installed.
int signalPipe[2] = {-1, -1};

} // namespace

void EndSignals::handle(int signal)
{
    // Only what is safe in a signal handler: one write, errno kept for the code it interrupted.
    const int saved = errno;
    const char number = char(signal);
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &number, 1);
    errno = saved;
}

EndSignals::EndSignals(QWindow *window, QObject *parent)
    : QObject(parent)
    , m_window(window)
{
    if (signalPipe[0] >= 0) {
        qWarning("end signals are handled already");
        return;
    }
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        qWarning("end signals are not handled: %s", std::strerror(errno));
        return;
    }
    m_notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &EndSignals::readSignals);
    struct sigaction action = {};
    action.sa_handler = &EndSignals::handle;
    sigemptyset(&action.sa_mask);
    // Interrupted reads and writes of other threads go on.
    action.sa_flags = SA_RESTART;
    for (const int signal : endSignals)
        sigaction(signal, &action, nullptr);
}

EndSignals::~EndSignals()
{
    if (!m_notifier)
        return;
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (const int signal : endSignals)
        sigaction(signal, &action, nullptr);
    delete m_notifier;
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
    signalPipe[0] = signalPipe[1] = -1;
}

void EndSignals::readSignals()
{
    char numbers[16];
    if (::read(signalPipe[0], numbers, sizeof numbers) <= 0)
        return;
    // A window that stays (a save to finish, a question) is asked once per signal; it answers
    // each ask as it answers its close button.
    if (m_window && m_window->isVisible())
        m_window->close();
    else
        QCoreApplication::quit();
}
