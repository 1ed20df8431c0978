// The calendar's selected date and its marked days.
#include "mainwindow/schedule.h"

#include "mainwindow/MonthCalendar.h"
#include "schedule/BoldDays.h"

QDate TMainForm::selectedDate() const
{
    return MonthCal->selectedDate();
}

void TMainForm::MonthCalGetMonthInfo(int year, int month)
{
    // The months at the page's edges belong to the year before or after at January and December.
    const QDate first(year, month, 1);
    for (int offset = -1; offset <= 1; ++offset) {
        const QDate m = first.addMonths(offset);
        MonthCal->setBoldDays(m.year(), m.month(), BoldDays::forMonth(DataFolder, m.year(), m.month()));
        showHolidaysInCalendar(m.year(), m.month());
    }
}

void TMainForm::refreshBoldDay(QDate date)
{
    if (!date.isValid())
        return;
    // The anniversary file marks that month and day in every year the page may show.
    for (int year = MonthCal->yearShown() - 1; year <= MonthCal->yearShown() + 1; ++year) {
        const QDate day(year, date.month(), date.day());
        if (!day.isValid())
            continue;
        const quint32 bit = 1u << (day.day() - 1);
        const quint32 days = MonthCal->boldDays(year, day.month());
        const bool marked = BoldDays::isMarked(DataFolder, day);
        MonthCal->setBoldDays(year, day.month(), marked ? days | bit : days & ~bit);
    }
}
