#include "schedule/MonthGrid.h"

#include "controls/model/GridModel.h"
#include "platform/Failure.h"
#include "support/TempFolder.h"

#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

// The grid control's interface over the grid model, as the shared rules see a grid.
struct Grid {
    GridModel model{3, 5, 1, 1};
    int RowCount() const { return model.rowCount(); }
    int ColCount() const { return model.colCount(); }
    int FixedCols() const { return model.fixedCols(); }
    int FixedRows() const { return model.fixedRows(); }
    void setRowCount(int count) { model.setRowCount(count); }
    void setColCount(int count) { model.setColCount(count); }
    void setFixedCols(int count) { model.setFixedCols(count); }
    void setFixedRows(int count) { model.setFixedRows(count); }
    QString Cells(int col, int row) const { return model.cell(col, row); }
    void setCells(int col, int row, const QString& text) { model.setCell(col, row, text); }
    bool LoadFromBytes(const QByteArray& bytes) { return model.loadFromBytes(bytes); }
};

} // namespace

TEST(MonthGrid, theMonthWithoutFileHasOneEmptyCaptionedRowPerDay)
{
    Grid grid;
    grid.setRowCount(32);
    grid.setCells(1, 0, u"予定"_s);
    grid.setCells(2, 30, u"前の月"_s);
    grid.setCells(1, 3, u"会議"_s);

    MonthGrid::fillEmpty(grid, QDate(2028, 2, 17));
    EXPECT_EQ(grid.RowCount(), 30); // a leap February
    EXPECT_EQ(grid.Cells(0, 1), DayTexts::dayCaption(QDate(2028, 2, 1)));
    EXPECT_EQ(grid.Cells(0, 29), DayTexts::dayCaption(QDate(2028, 2, 29)));
    EXPECT_EQ(grid.Cells(1, 3), QString());
    EXPECT_EQ(grid.Cells(1, 0), u"予定"_s) << "the column captions are the caller's";

    MonthGrid::fillEmpty(grid, QDate(2027, 2, 1));
    EXPECT_EQ(grid.RowCount(), 29);
    MonthGrid::fillEmpty(grid, QDate(2027, 12, 31));
    EXPECT_EQ(grid.RowCount(), 32);
    EXPECT_EQ(grid.Cells(2, 30), QString()) << "rows grown back hold nothing of an earlier month";
    EXPECT_EQ(grid.Cells(0, 31), DayTexts::dayCaption(QDate(2027, 12, 31)));
}

TEST(MonthGrid, filesWithoutADayRowAreNoMonthAndTheFixedRowAndColumnStay)
{
    Grid grid;
    EXPECT_FALSE(MonthGrid::loadDays(grid, QByteArray()));
    EXPECT_FALSE(MonthGrid::loadDays(grid, "x\r\n"));
    EXPECT_EQ(grid.FixedRows(), 0) << "a one-line file takes the fixed row away";
    EXPECT_EQ(grid.FixedCols(), 0) << "and a one-field file the fixed column";
    grid.setColCount(3); // the column captions come back
    grid.setRowCount(32);
    MonthGrid::keepFixedRowAndColumn(grid);
    EXPECT_EQ(grid.FixedRows(), 1);
    EXPECT_EQ(grid.FixedCols(), 1);

    EXPECT_TRUE(MonthGrid::loadDays(grid, ",予定\r\n1日,会議\r\n"));
    EXPECT_EQ(grid.Cells(1, 1), u"会議"_s);
}

TEST(MonthGrid, readingTellsNoFileFromAFileThatCannotBeRead)
{
    TempFolder folder;
    EXPECT_EQ(MonthGrid::read(folder.file(u"200101.txt"_s)), std::nullopt);

    folder.write(u"200102.txt"_s, "a,b\r\n");
    EXPECT_EQ(MonthGrid::read(folder.file(u"200102.txt"_s)), QByteArray("a,b\r\n"));

    ASSERT_TRUE(QFile::link(folder.file(u"gone.txt"_s), folder.file(u"200103.txt"_s)));
    EXPECT_THROW(MonthGrid::read(folder.file(u"200103.txt"_s)), EInOutError);

    ASSERT_EQ(::mkfifo(QFile::encodeName(folder.file(u"200104.txt"_s)).constData(), 0600), 0);
    EXPECT_THROW(MonthGrid::read(folder.file(u"200104.txt"_s)), EInOutError) << "a FIFO is never waited on";
}
