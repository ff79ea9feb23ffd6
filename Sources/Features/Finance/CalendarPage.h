#pragma once

#include <QDate>
#include <QObject>
#include <QtQml/qqmlregistration.h>

// The month a date picker shows, with its Russian title, and the day the keyboard stands on in
// it: the arrows move that day by a day or a week, the page keys by a month, and the page always
// shows the month of that day.
class CalendarPage : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(int year READ year NOTIFY pageChanged)
    // January is 0, as the month grid counts.
    Q_PROPERTY(int monthIndex READ monthIndex NOTIFY pageChanged)
    Q_PROPERTY(QString title READ title NOTIFY pageChanged)
    Q_PROPERTY(int focusYear READ focusYear NOTIFY focusChanged)
    Q_PROPERTY(int focusMonthIndex READ focusMonthIndex NOTIFY focusChanged)
    Q_PROPERTY(int focusDay READ focusDay NOTIFY focusChanged)

public:
    explicit CalendarPage(QObject *parent = nullptr);

    int year() const { return m_focus.year(); }
    int monthIndex() const { return m_focus.month() - 1; }
    QString title() const;
    int focusYear() const { return m_focus.year(); }
    int focusMonthIndex() const { return m_focus.month() - 1; }
    int focusDay() const { return m_focus.day(); }
    QDate focusDate() const { return m_focus; }

    // The page of that month, the day kept where the month has it (else its last day).
    Q_INVOKABLE void show(int year, int monthIndex);
    // The keyboard on that day (an invalid day changes nothing), the page on its month.
    Q_INVOKABLE void focusOn(int year, int monthIndex, int day);
    Q_INVOKABLE void moveDays(int days);
    Q_INVOKABLE void moveMonths(int months);
    Q_INVOKABLE void showPrevious() { moveMonths(-1); }
    Q_INVOKABLE void showNext() { moveMonths(1); }
    Q_INVOKABLE bool isFocus(int year, int monthIndex, int day) const;

    // A day as a reader names it: "7 декабря 2026".
    Q_INVOKABLE QString dayName(int year, int monthIndex, int day) const;

Q_SIGNALS:
    void pageChanged();
    void focusChanged();

private:
    void setFocus(const QDate &date);

    QDate m_focus;
};
