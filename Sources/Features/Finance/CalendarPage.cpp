#include "CalendarPage.h"

#include <QLocale>

#include <algorithm>

namespace {

const QLocale &russian()
{
    static const QLocale locale(QLocale::Russian, QLocale::Russia);
    return locale;
}

} // namespace

CalendarPage::CalendarPage(QObject *parent)
    : QObject(parent)
    , m_focus(QDate::currentDate())
{
}

QString CalendarPage::title() const
{
    const QString month = russian().standaloneMonthName(m_focus.month(), QLocale::LongFormat);
    return month.left(1).toUpper() + month.mid(1) + QLatin1Char(' ') + QString::number(m_focus.year());
}

void CalendarPage::setFocus(const QDate &date)
{
    if (!date.isValid() || date == m_focus)
        return;
    const bool otherPage = date.year() != m_focus.year() || date.month() != m_focus.month();
    m_focus = date;
    Q_EMIT focusChanged();
    if (otherPage)
        Q_EMIT pageChanged();
}

void CalendarPage::show(int year, int monthIndex)
{
    // A month index out of 0..11 carries into the year.
    const QDate first = QDate(year, 1, 1).addMonths(monthIndex);
    if (!first.isValid())
        return;
    setFocus(QDate(first.year(), first.month(), std::min(m_focus.day(), first.daysInMonth())));
}

void CalendarPage::focusOn(int year, int monthIndex, int day)
{
    setFocus(QDate(year, monthIndex + 1, day));
}

void CalendarPage::moveDays(int days)
{
    setFocus(m_focus.addDays(days));
}

void CalendarPage::moveMonths(int months)
{
    // QDate keeps the day where the month has it, else takes the month's last day.
    setFocus(m_focus.addMonths(months));
}

bool CalendarPage::isFocus(int year, int monthIndex, int day) const
{
    return m_focus.year() == year && m_focus.month() == monthIndex + 1 && m_focus.day() == day;
}

QString CalendarPage::dayName(int year, int monthIndex, int day) const
{
    const QDate date(year, monthIndex + 1, day);
    return date.isValid() ? russian().toString(date, QStringLiteral("d MMMM yyyy")) : QString();
}
