// The month grid: filling, reading and writing it, its colours and its click.
#include "mainwindow/schedule.h"

#include "controls/jvStringGrid.h"
#include "mainwindow/MarkedCell.h"
#include "mainwindow/MonthCalendar.h"
#include "mainwindow/model/DayFiles.h"
#include "mainwindow/model/DayTexts.h"
#include "platform/AnsiText.h"
#include "mainwindow/model/RecoveryJournal.h"
#include "platform/Failure.h"

#include <QFileInfo>
#include <QPainter>

void TMainForm::SetColumnCaptions()
{
    jvStringGrid1->setColCount(int(Memo5.size()) + 1);
    jvStringGrid1->setCells(0, 0, QString());
    for (int c = 1; c <= Memo5.size(); ++c)
        jvStringGrid1->setCells(c, 0, Memo5.at(c - 1));
}

void TMainForm::NewMonth()
{
    jvStringGrid1->setRowCount(32);
    SetColumnCaptions();
    const QDate shown = selectedDate();
    for (int d = 1; d <= 31; ++d) {
        // Rows past the month's last day are gone already; only the count still drops.
        for (int c = 1; d < jvStringGrid1->RowCount() && c < jvStringGrid1->ColCount(); ++c)
            jvStringGrid1->setCells(c, d, QString());
        const QDate day(shown.year(), shown.month(), d);
        if (day.isValid())
            jvStringGrid1->setCells(0, d, DayTexts::dayCaption(day));
        else
            jvStringGrid1->setRowCount(jvStringGrid1->RowCount() - 1);
    }
}

void TMainForm::LoadMonth()
{
    fillMonth(readMonthFile(MonthFile));
}

std::optional<QByteArray> TMainForm::readMonthFile(const QString& path)
{
    const QFileInfo file(path);
    if (!file.exists() && !file.isSymLink())
        return std::nullopt;
    return AnsiText::readBytes(path, DayFiles::kMonthSizeLimit);
}

void TMainForm::fillMonth(const std::optional<QByteArray>& bytes)
{
    m_monthStamp = bytes ? DiskStamp::take(MonthFile, *bytes) : DiskStamp::missing();
    if (bytes) {
        jvStringGrid1->LoadFromBytes(*bytes);
        SetColumnCaptions();
        m_monthBaseline.setKnown(AnsiText::decode(AnsiText::untilNul(*bytes)));
    } else {
        NewMonth();
        m_monthBaseline.setMissing(jvStringGrid1->model().toText());
    }
    // A grid left unsaved comes back with its month, still unsaved.
    if (const auto kept = m_keptMonths.constFind(MonthFile); kept != m_keptMonths.cend()) {
        jvStringGrid1->LoadFromBytes(*kept);
        SetColumnCaptions();
    }
}

void TMainForm::SaveMonth()
{
    const QString text = jvStringGrid1->model().toText();
    if (!monthNeedsWrite(text) || !settleMonthOutsideEdit())
        return;
    jvStringGrid1->SaveToFile(MonthFile);
    m_monthBaseline.setKnown(text);
    m_monthStamp = DiskStamp::take(MonthFile);
    m_journal->remove(MonthFile);
    m_keptMonths.remove(MonthFile);
}

bool TMainForm::monthChangedHere() const
{
    const QString text = jvStringGrid1->model().toText();
    return m_monthBaseline.state() == FileTextBaseline::State::Missing ? text != m_monthBaseline.text()
                                                                       : monthNeedsWrite(text);
}

bool TMainForm::monthNeedsWrite(const QString& gridText) const
{
    switch (m_monthBaseline.state()) {
    case FileTextBaseline::State::Known:
        // The file already says this: leave its bytes and time alone.
        return !m_monthBaseline.fileHolds(gridText);
    case FileTextBaseline::State::Unreadable:
        // A month file that could not be read is only replaced once the user typed into the grid.
        return gridText != m_monthBaseline.text();
    case FileTextBaseline::State::Missing:
    case FileTextBaseline::State::Unknown:
        break;
    }
    return true;
}

void TMainForm::jvStringGrid1DrawCell(int col, int row, const QRect& rect, QPainter& painter)
{
    if (col < jvStringGrid1->FixedCols() || row < jvStringGrid1->FixedRows())
        return;
    const QString text = jvStringGrid1->Cells(col, row);
    const std::optional<ColorRef> fill =
        Markup::cellFill(selectedDate(), row, text, SatColor, SunColor, MarkupEntries, ShowHolidays);
    paintMarkedCell(painter, rect, text, fill);
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
