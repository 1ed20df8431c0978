// The month grid: filling, reading and writing it, its colours and its click.
#include "mainwindow/schedule.h"

#include "controls/jvStringGrid.h"
#include "mainwindow/MarkedCell.h"
#include "mainwindow/MonthCalendar.h"
#include "schedule/DayFiles.h"
#include "schedule/MonthGrid.h"
#include "platform/AnsiText.h"
#include "schedule/RecoveryJournal.h"
#include "platform/Failure.h"

#include <QFileInfo>
#include <QPainter>

void TMainForm::SetColumnCaptions()
{
    const int before = jvStringGrid1->ColCount();
    jvStringGrid1->setColCount(int(Memo5.size()) + 1);
    // Columns added again show what the month file holds there.
    m_monthExtras.columnsChanged(before, jvStringGrid1->ColCount(),
                                 [this](int col, int row, const QString& text) {
                                     if (row > 0 && row < jvStringGrid1->RowCount())
                                         jvStringGrid1->setCells(col, row, text);
                                 });
    jvStringGrid1->setCells(0, 0, QString());
    for (int c = 1; c <= Memo5.size(); ++c)
        jvStringGrid1->setCells(c, 0, Memo5.at(c - 1));
}

void TMainForm::NewMonth()
{
    m_monthExtras.clear();
    SetColumnCaptions();
    MonthGrid::fillEmpty(*jvStringGrid1, selectedDate());
    MonthGrid::keepFixedRowAndColumn(*jvStringGrid1);
}

void TMainForm::LoadMonth()
{
    fillMonth(MonthGrid::read(MonthFile));
}

void TMainForm::showMonthBytes(const QByteArray& bytes)
{
    m_monthExtras.clear();
    // An empty file, or one without a day row, would leave the previous month or a lone cell.
    if (!MonthGrid::loadDays(*jvStringGrid1, bytes)) {
        NewMonth();
        return;
    }
    const int loadedCols = jvStringGrid1->ColCount();
    SetColumnCaptions();
    m_monthExtras.take(AnsiText::decode(AnsiText::untilNul(bytes)), loadedCols, jvStringGrid1->ColCount(),
                       [this](int col, int row, const QString& text) {
                           if (row > 0 && row < jvStringGrid1->RowCount())
                               jvStringGrid1->setCells(col, row, text);
                       });
    MonthGrid::keepFixedRowAndColumn(*jvStringGrid1);
}

QString TMainForm::monthText() const
{
    return m_monthExtras.text(jvStringGrid1->model());
}

void TMainForm::fillMonth(const std::optional<QByteArray>& bytes)
{
    m_monthStamp = bytes ? DiskStamp::take(MonthFile, *bytes) : DiskStamp::missing();
    if (bytes) {
        showMonthBytes(*bytes);
        m_monthBaseline.setKnown(monthText());
    } else {
        NewMonth();
        m_monthBaseline.setMissing(monthText());
    }
    // A grid left unsaved comes back with its month, still unsaved.
    if (const auto kept = m_keptMonths.constFind(MonthFile); kept != m_keptMonths.cend())
        showMonthBytes(*kept);
}

void TMainForm::SaveMonth()
{
    const QString text = monthText();
    if (!monthNeedsWrite(text) || !settleMonthOutsideEdit())
        return;
    AnsiText::writeBytes(MonthFile, AnsiText::encode(text));
    if (!m_monthBaseline.matches(text))
        m_monthsChangedHere.insert(MonthFile);
    m_monthBaseline.setKnown(text);
    m_monthStamp = DiskStamp::take(MonthFile);
    m_journal->remove(MonthFile);
    m_keptMonths.remove(MonthFile);
}

bool TMainForm::monthChangedHere() const
{
    const QString text = monthText();
    return m_monthBaseline.state() == GridBaseline::State::Missing ? !m_monthBaseline.matches(text)
                                                                   : monthNeedsWrite(text);
}

bool TMainForm::monthNeedsWrite(const QString& gridText) const
{
    switch (m_monthBaseline.state()) {
    case GridBaseline::State::Known:
        // Untouched since it was shown: the file keeps its bytes and time, whatever form another
        // program gave it. Changed here and deleted since by another program: it comes back.
        return !m_monthBaseline.matches(gridText) ||
               (m_monthsChangedHere.contains(MonthFile) && !QFileInfo::exists(MonthFile));
    case GridBaseline::State::Unreadable:
        // A month file that could not be read is only replaced once the user typed into the grid.
        return !m_monthBaseline.matches(gridText);
    case GridBaseline::State::Missing:
    case GridBaseline::State::Unknown:
        break;
    }
    return true;
}

void TMainForm::jvStringGrid1DrawCell(int col, int row, const QRect& rect, QPainter& painter)
{
    if (col < jvStringGrid1->FixedCols() || row < jvStringGrid1->FixedRows())
        return;
    const QString text = jvStringGrid1->Cells(col, row);
    paintMarkedCell(painter, rect, text, Markup::cellFill(selectedDate(), row, text, cellColours()));
}

void TMainForm::jvStringGrid1SelectCell(int row)
{
    SelectedRow = row;
}

void TMainForm::jvStringGrid1Click()
{
    // Before any selection the row names no day; the current row is the day the user sees.
    const int row = SelectedRow > 0 ? SelectedRow : jvStringGrid1->Row();
    const QDate shown = selectedDate();
    const QDate day(shown.year(), shown.month(), row);
    if (!day.isValid())
        throw EConvertError(QStringLiteral("日付のエンコードに対する引数が無効です"));
    MonthCal->setSelectedDate(day);
    MonthCalClick();
}
