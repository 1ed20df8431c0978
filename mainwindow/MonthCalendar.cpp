#include "mainwindow/MonthCalendar.h"

#include <QTextCharFormat>

MonthCalendar::MonthCalendar(QWidget* parent) : QCalendarWidget(parent)
{
    setObjectName(QStringLiteral("MonthCal"));
    setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    setVerticalHeaderFormat(QCalendarWidget::ISOWeekNumbers);
    setHorizontalHeaderFormat(QCalendarWidget::ShortDayNames);
    setSelectionMode(QCalendarWidget::SingleSelection);
    connect(this, &QCalendarWidget::currentPageChanged, this, [this](int year, int month) {
        if (OnGetMonthInfo)
            OnGetMonthInfo(year, month);
    });
}

void MonthCalendar::setBoldDays(int year, int month, quint32 days)
{
    const int count = QDate(year, month, 1).daysInMonth();
    for (int d = 1; d <= count; ++d) {
        const QDate date(year, month, d);
        QTextCharFormat format = dateTextFormat(date);
        const bool bold = (days >> (d - 1)) & 1u;
        if ((format.fontWeight() == QFont::Bold) == bold)
            continue;
        format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
        setDateTextFormat(date, format);
    }
}

quint32 MonthCalendar::boldDays(int year, int month) const
{
    quint32 days = 0;
    const int count = QDate(year, month, 1).daysInMonth();
    for (int d = 1; d <= count; ++d) {
        if (dateTextFormat(QDate(year, month, d)).fontWeight() == QFont::Bold)
            days |= 1u << (d - 1);
    }
    return days;
}

void MonthCalendar::setHolidays(int year, int month, quint32 days)
{
    const QBrush sunday = weekdayTextFormat(Qt::Sunday).foreground();
    const int count = QDate(year, month, 1).daysInMonth();
    for (int d = 1; d <= count; ++d) {
        const QDate date(year, month, d);
        QTextCharFormat format = dateTextFormat(date);
        const bool holiday = (days >> (d - 1)) & 1u;
        if (format.hasProperty(QTextFormat::ForegroundBrush) == holiday)
            continue;
        if (holiday)
            format.setForeground(sunday);
        else
            format.clearForeground();
        setDateTextFormat(date, format);
    }
}

void MonthCalendar::refreshMonthInfo()
{
    if (OnGetMonthInfo)
        OnGetMonthInfo(yearShown(), monthShown());
}
