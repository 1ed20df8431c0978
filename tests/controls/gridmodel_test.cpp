#include "controls/model/GridModel.h"

#include "platform/Failure.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

struct CountCase {
    const char* name;
    int cols, rows, fixedCols, fixedRows; // start
    int newCols, newRows;                 // counts set afterwards
    int wantFixedCols, wantFixedRows;
};

class CountRuleTest : public ::testing::TestWithParam<CountCase> {};

TEST_P(CountRuleTest, fixedCountsStayBelowCounts)
{
    const CountCase& c = GetParam();
    GridModel grid(c.cols, c.rows, c.fixedCols, c.fixedRows);
    grid.setColCount(c.newCols);
    grid.setRowCount(c.newRows);
    EXPECT_EQ(grid.colCount(), std::max(c.newCols, 1));
    EXPECT_EQ(grid.rowCount(), std::max(c.newRows, 1));
    EXPECT_EQ(grid.fixedCols(), c.wantFixedCols);
    EXPECT_EQ(grid.fixedRows(), c.wantFixedRows);
    EXPECT_FALSE(grid.isFixed(grid.col(), grid.row()) && grid.colCount() > grid.fixedCols());
    EXPECT_LT(grid.col(), grid.colCount());
    EXPECT_LT(grid.row(), grid.rowCount());
}

INSTANTIATE_TEST_SUITE_P(Counts, CountRuleTest,
                         ::testing::Values(CountCase{"raised", 4, 32, 1, 1, 6, 40, 1, 1},
                                           CountCase{"toOne", 4, 32, 1, 1, 1, 1, 0, 0},
                                           CountCase{"toFixed", 5, 5, 3, 2, 3, 2, 2, 1},
                                           CountCase{"belowFixed", 5, 5, 3, 3, 2, 1, 1, 0},
                                           CountCase{"zeroMeansOne", 4, 4, 1, 1, 0, -3, 0, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GridModel, currentCellFollowsLoweredCountsAndRaisedFixedCounts)
{
    GridModel grid(4, 32, 1, 1);
    grid.setCurrent(3, 31);
    grid.setRowCount(29);
    grid.setColCount(3);
    EXPECT_EQ(grid.col(), 2);
    EXPECT_EQ(grid.row(), 28);

    grid.setCurrent(1, 1);
    grid.setFixedRows(2);
    grid.setFixedCols(2);
    EXPECT_EQ(grid.col(), 2);
    EXPECT_EQ(grid.row(), 2);
}

TEST(GridModel, refusesFixedOrOutsideCurrentCellAndFixedCountsAtCount)
{
    GridModel grid(4, 5, 1, 1);
    EXPECT_THROW(grid.setCurrent(0, 2), EListError);
    EXPECT_THROW(grid.setCurrent(2, 0), EListError);
    EXPECT_THROW(grid.setCurrent(4, 2), EListError);
    EXPECT_THROW(grid.setFixedCols(4), EListError);
    EXPECT_THROW(grid.setFixedRows(-1), EListError);
    EXPECT_EQ(grid.fixedCols(), 1);
    EXPECT_EQ(grid.col(), 1);
}

TEST(GridModel, rowsAlwaysHoldColumnCountTextsAndKeepTheirCells)
{
    GridModel grid(2, 2, 0, 0);
    grid.setCell(1, 1, u"x"_s);
    grid.setColCount(4);
    EXPECT_EQ(grid.rowCells(1), (QStringList{QString(), u"x"_s, QString(), QString()}));
    grid.setColCount(1);
    grid.setColCount(2);
    EXPECT_EQ(grid.cell(1, 1), QString());
    EXPECT_EQ(grid.cell(9, 9), QString());
    EXPECT_THROW(grid.setCell(2, 0, u"y"_s), EListError);
}

} // namespace
