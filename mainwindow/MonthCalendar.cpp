#include "mainwindow/MonthCalendar.h"

#include "controls/model/Contrast.h"

#include <QAbstractItemView>
#include <QGuiApplication>
#include <QSpinBox>
#include <QTextCharFormat>

MonthCalendar::MonthCalendar(QWidget* parent) : QCalendarWidget(parent)
{
    setObjectName(QStringLiteral("MonthCal"));
    setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    setVerticalHeaderFormat(QCalendarWidget::ISOWeekNumbers);
    setHorizontalHeaderFormat(QCalendarWidget::ShortDayNames);
    setSelectionMode(QCalendarWidget::SingleSelection);
    m_saturdayInk = weekdayTextFormat(Qt::Saturday).foreground().color();
    m_sundayInk = weekdayTextFormat(Qt::Sunday).foreground().color();
    applyDayInks();
    if (auto* view = findChild<QAbstractItemView*>()) {
        view->installEventFilter(this);
        view->viewport()->installEventFilter(this);
    }
    connect(this, &QCalendarWidget::currentPageChanged, this, [this](int year, int month) {
        if (OnGetMonthInfo)
            OnGetMonthInfo(year, month);
    });

    // A mouse click changes the selection and then reports the click: one choice, not two.
    connect(this, &QCalendarWidget::selectionChanged, this, [this] {
        if (!m_byProgram)
            userChose();
    });
    connect(this, &QCalendarWidget::clicked, this, [this] {
        if (!m_chosenInThisEvent)
            userChose();
    });
    // Enter on the selected date; a double click reports its two clicks already.
    connect(this, &QCalendarWidget::activated, this, [this] {
        if (!m_chosenInThisEvent && QGuiApplication::mouseButtons() == Qt::NoButton)
            userChose();
    });
    // A typed year turns the page only; the date follows it, or the calendar would show one year
    // and the pages another.
    if (auto* yearEdit = findChild<QSpinBox*>(QStringLiteral("qt_calendar_yearedit"))) {
        connect(yearEdit, &QAbstractSpinBox::editingFinished, this, [this] {
            const QDate selected = selectedDate();
            const QDate moved = selected.addYears(yearShown() - selected.year());
            if (moved.isValid() && moved != selected)
                QCalendarWidget::setSelectedDate(moved);
        });
    }
}

void MonthCalendar::setSelectedDate(QDate date)
{
    const bool outer = m_byProgram;
    m_byProgram = true;
    QCalendarWidget::setSelectedDate(date);
    m_byProgram = outer;
}

void MonthCalendar::userChose()
{
    m_chosenInThisEvent = true;
    Q_EMIT dateChosen();
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

bool MonthCalendar::eventFilter(QObject* watched, QEvent* event)
{
    // A new press or key starts a new choice; the release that ends a click belongs to the press.
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
        m_chosenInThisEvent = false;
        break;
    default:
        break;
    }
    return QCalendarWidget::eventFilter(watched, event);
}

void MonthCalendar::changeEvent(QEvent* event)
{
    QCalendarWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        applyDayInks();
}

void MonthCalendar::applyDayInks()
{
    // Red on a dark background is too dim to read; the hue stays, the shade follows the palette.
    const QRgb base = palette().color(QPalette::Base).rgb();
    const auto ink = [base](const QColor& wanted) {
        return QBrush(QColor::fromRgb(Contrast::readableOn(base, wanted.rgb())));
    };
    const QBrush sunday = ink(m_sundayInk);
    const std::pair<Qt::DayOfWeek, QBrush> weekend[] = {{Qt::Saturday, ink(m_saturdayInk)},
                                                        {Qt::Sunday, sunday}};
    for (const auto& [day, brush] : weekend) {
        QTextCharFormat format = weekdayTextFormat(day);
        if (format.foreground() == brush)
            continue;
        format.setForeground(brush);
        setWeekdayTextFormat(day, format);
    }
    // Holidays carry the Sunday colour of their own.
    const QMap<QDate, QTextCharFormat> dates = dateTextFormat();
    for (auto it = dates.cbegin(); it != dates.cend(); ++it) {
        if (!it->hasProperty(QTextFormat::ForegroundBrush) || it->foreground() == sunday)
            continue;
        QTextCharFormat format = *it;
        format.setForeground(sunday);
        setDateTextFormat(it.key(), format);
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
