#include "CalendarPage.h"

#include <QDate>
#include <QLocale>

CalendarPage::CalendarPage(QObject *parent)
    : QObject(parent)
{
    const QDate today = QDate::currentDate();
    m_year = today.year();
    m_monthIndex = today.month() - 1;
}

QString CalendarPage::title() const
{
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    const QString month = russian.standaloneMonthName(m_monthIndex + 1, QLocale::LongFormat);
    return month.left(1).toUpper() + month.mid(1) + QLatin1Char(' ') + QString::number(m_year);
}

void CalendarPage::show(int year, int monthIndex)
{
    const int months = year * 12 + monthIndex;
    const int nextYear = months / 12;
    const int nextMonth = months % 12;
    if (nextYear == m_year && nextMonth == m_monthIndex)
        return;
    m_year = nextYear;
    m_monthIndex = nextMonth;
    Q_EMIT pageChanged();
}

void CalendarPage::showPrevious()
{
    show(m_year, m_monthIndex - 1);
}

void CalendarPage::showNext()
{
    show(m_year, m_monthIndex + 1);
}
