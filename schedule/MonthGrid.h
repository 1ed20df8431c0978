#pragma once

#include "schedule/DayTexts.h"

#include <QByteArray>
#include <QDate>
#include <QString>

#include <optional>

// The month schedule's rules that the main grid and the three-month view share: reading a
// month file, the month shown without one, and the fixed row and column every month keeps.
// `Grid` is the string grid control (its Cells / setCells interface).
namespace MonthGrid {

// None when there is no file; throws EInOutError when there is one that cannot be read (a
// FIFO, a device, a file over the month size limit included).
std::optional<QByteArray> read(const QString& path);

// The file's grid replaced the one shown and holds at least one day row. False: an empty file,
// or one without a day row, which is shown as the month without file.
template <class Grid> bool loadDays(Grid& grid, const QByteArray& bytes)
{
    return grid.LoadFromBytes(bytes) && grid.RowCount() >= 2;
}

// The month of `month` without file: one row per day under the caption row, each with its day
// caption and empty cells. The column captions are the caller's.
template <class Grid> void fillEmpty(Grid& grid, QDate month)
{
    const QDate first(month.year(), month.month(), 1);
    grid.setRowCount(first.daysInMonth() + 1);
    for (int d = 1; d < grid.RowCount(); ++d) {
        grid.setCells(0, d, DayTexts::dayCaption(first.addDays(d - 1)));
        for (int c = 1; c < grid.ColCount(); ++c)
            grid.setCells(c, d, QString());
    }
}

// A file of one line or one field takes the fixed row and column away; the month has both.
template <class Grid> void keepFixedRowAndColumn(Grid& grid)
{
    if (grid.FixedCols() < 1 && grid.ColCount() > 1)
        grid.setFixedCols(1);
    if (grid.FixedRows() < 1 && grid.RowCount() > 1)
        grid.setFixedRows(1);
}

} // namespace MonthGrid
