#pragma once

#include <QCalendarWidget>

#include <functional>

// The month calendar: week numbers, Japanese names, one selected date, and bold days that it
// asks for whenever it starts showing a month.
class MonthCalendar final : public QCalendarWidget {
    Q_OBJECT
public:
    explicit MonthCalendar(QWidget* parent = nullptr);

    // Called with the year and month of the page the calendar turned to.
    std::function<void(int year, int month)> OnGetMonthInfo;

    // Bit d-1 of `days` makes day d of the month bold; the other days of that month turn plain.
    void setBoldDays(int year, int month, quint32 days);
    quint32 boldDays(int year, int month) const;
    // Bit d-1 of `days` gives day d the Sunday text colour; the other days keep their weekday's.
    void setHolidays(int year, int month, quint32 days);

    // A selection made by the program: no dateChosen.
    void setSelectedDate(QDate date);

Q_SIGNALS:
    // The user chose a date, once per choice: clicked one (the one selected too), moved the
    // selection with the keys, pressed Enter on it, or typed a year (the same day of that year).
    void dateChosen();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void userChose();
    // The weekend and holiday colours, made to read on the palette's background.
    void applyDayInks();

    QColor m_saturdayInk;
    QColor m_sundayInk;

    bool m_byProgram = false;
    bool m_chosenInThisEvent = false;
};
