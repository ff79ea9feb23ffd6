#pragma once

#include <QObject>
#include <QtQml/qqmlregistration.h>

// The month a date picker shows, paged one month at a time, with its Russian title.
class CalendarPage : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(int year READ year NOTIFY pageChanged)
    // January is 0, as the month grid counts.
    Q_PROPERTY(int monthIndex READ monthIndex NOTIFY pageChanged)
    Q_PROPERTY(QString title READ title NOTIFY pageChanged)

public:
    explicit CalendarPage(QObject *parent = nullptr);

    int year() const { return m_year; }
    int monthIndex() const { return m_monthIndex; }
    QString title() const;

    Q_INVOKABLE void show(int year, int monthIndex);
    Q_INVOKABLE void showPrevious();
    Q_INVOKABLE void showNext();

Q_SIGNALS:
    void pageChanged();

private:
    int m_year = 2000;
    int m_monthIndex = 0;
};
