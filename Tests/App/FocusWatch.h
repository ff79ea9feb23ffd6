#pragma once

#include <QObject>
#include <QPointer>

class QQuickWindow;

// Made once by a window test, before its windows: after each key or mouse input to a window of
// the application has settled, the keys there have exactly one place. The focused item is a
// control that shows, inside the top-most open popup when one is open, with its focus ring when
// the input was a key; keys held back for a control that stays disabled are named with it. An
// input has settled when the test presses again after the event loop
// ran, when the window hides, or when the test says so (`settle`); what is wrong fails the
// running test function, once.
class FocusWatch : public QObject
{
public:
    FocusWatch();
    ~FocusWatch() override;

    // Checks the last input's window now; false (with the failure recorded) when its keys have no place.
    bool settle();
    // What is wrong with the window's keys, empty when nothing; `byKey` asks for the ring too,
    // `byWheel` lets the focused control be scrolled out of sight (by the wheel or a scroll bar).
    static QString problem(QQuickWindow *window, bool byKey, bool byWheel = false);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    static QByteArray runningTest();
    // Checks the last input's window as it stands.
    bool check();

    QPointer<QQuickWindow> m_window;
    QByteArray m_inputTest;
    bool m_byKey = false;
    bool m_byWheel = false;
    // The event loop ran after the input: a press that comes before is part of the same input.
    bool m_loopRan = false;
    quint64 m_input = 0;
    QByteArray m_failedIn;
};
