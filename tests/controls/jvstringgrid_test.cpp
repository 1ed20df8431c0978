#include "controls/jvStringGrid.h"

#include "platform/Failure.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

using Cell = std::pair<int, int>;

class GridWidget : public ::testing::Test {
protected:
    void SetUp() override
    {
        grid.setOptions(grid.Options() | TjvStringGrid::goColSizing | TjvStringGrid::goEditing);
        grid.setDefaultColWidth(50);
        grid.setDefaultRowHeight(16);
        grid.setColCount(4);
        grid.setRowCount(32);
        for (int d = 1; d < 32; ++d)
            grid.setCells(0, d, QString::number(d) + u"日"_s);
        grid.resize(260, 200);
        grid.show();
        grid.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&grid));
        grid.setFocus();
        grid.OnClick = [this](TjvStringGrid& sender) { clicks.emplace_back(sender.Col(), sender.Row()); };
    }

    QPoint at(int col, int row) const { return grid.CellRect(col, row).center(); }
    void press(int col, int row, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(grid.viewport(), button, {}, at(col, row));
    }
    void key(int k, Qt::KeyboardModifiers mods = {}) { QTest::keyClick(&grid, Qt::Key(k), mods); }
    QLineEdit* editor() const { return grid.InplaceEditor(); }

    TjvStringGrid grid;
    std::vector<Cell> clicks;
};

TEST_F(GridWidget, pressOnNormalCellMovesAndClicksOnceAlsoOnTheCurrentOne)
{
    press(2, 3);
    EXPECT_EQ((Cell{grid.Col(), grid.Row()}), (Cell{2, 3}));
    press(2, 3);
    EXPECT_EQ(clicks, (std::vector<Cell>{{2, 3}, {2, 3}}));
}

TEST_F(GridWidget, pressOnFixedCellDoesNothing)
{
    grid.setEditorMode(false);
    press(0, 5);
    press(2, 0);
    press(0, 4, Qt::RightButton);
    EXPECT_EQ((Cell{grid.Col(), grid.Row()}), (Cell{1, 1}));
    EXPECT_TRUE(clicks.empty());
}

// The context menu that follows a right click must act on the clicked cell, not on another day.
TEST_F(GridWidget, rightPressMakesTheClickedCellCurrentWithoutOpeningTheEditor)
{
    grid.setEditorMode(false);
    press(3, 4, Qt::RightButton);
    EXPECT_EQ((Cell{grid.Col(), grid.Row()}), (Cell{3, 4}));
    EXPECT_EQ(clicks, (std::vector<Cell>{{3, 4}}));
    press(3, 4, Qt::RightButton);
    EXPECT_EQ(clicks.size(), 1u);
    EXPECT_FALSE(grid.EditorMode());

    bool asked = false;
    grid.OnSelectCell = [&](TjvStringGrid&, int, int, bool& canSelect) {
        asked = true;
        canSelect = false;
    };
    press(2, 6, Qt::RightButton);
    EXPECT_TRUE(asked);
    EXPECT_EQ((Cell{grid.Col(), grid.Row()}), (Cell{3, 4}));
}

// A move the caller has already decided: no question, no click, the cell's edit kept.
TEST_F(GridWidget, quietRowMoveNeitherAsksNorClicksAndKeepsTheEdit)
{
    bool asked = false;
    grid.OnSelectCell = [&](TjvStringGrid&, int, int, bool&) { asked = true; };
    key(Qt::Key_F2);
    ASSERT_TRUE(grid.EditorMode());
    editor()->setText(u"typed"_s);
    grid.setRowQuietly(7);
    EXPECT_EQ((Cell{grid.Col(), grid.Row()}), (Cell{1, 7}));
    EXPECT_FALSE(asked);
    EXPECT_TRUE(clicks.empty());
    EXPECT_FALSE(grid.EditorMode());
    EXPECT_EQ(grid.Cells(1, 1), u"typed"_s);
    EXPECT_THROW(grid.setRowQuietly(40), EQuavError);
}

TEST_F(GridWidget, doubleClickClicksOnlyForItsFirstPressAndOpensTheEditor)
{
    // The platform delivers a double click as press, release, double-click, release.
    press(1, 6);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, at(1, 6));
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, at(1, 6));
    EXPECT_EQ(clicks, (std::vector<Cell>{{1, 6}}));
    EXPECT_TRUE(grid.EditorMode());
}

TEST_F(GridWidget, selectCellVetoKeepsTheCurrentCellAndSendsNoClick)
{
    std::vector<Cell> asked;
    grid.OnSelectCell = [&](TjvStringGrid&, int col, int row, bool& canSelect) {
        asked.emplace_back(col, row);
        canSelect = row != 5;
    };
    grid.setCurrentCell(2, 4);
    press(1, 5);
    key(Qt::Key_Down);
    EXPECT_FALSE(grid.setRow(5));
    EXPECT_EQ((Cell{grid.Col(), grid.Row()}), (Cell{2, 4}));
    EXPECT_EQ(asked, (std::vector<Cell>{{2, 4}, {1, 5}, {2, 5}, {2, 5}}));
    EXPECT_EQ(clicks, (std::vector<Cell>{{2, 4}}));
}

TEST_F(GridWidget, codeMovesClickOnlyWhenTheCellChangesAndNeverOntoFixedCells)
{
    EXPECT_TRUE(grid.setRow(7));
    EXPECT_FALSE(grid.setRow(7));
    EXPECT_THROW(grid.setCurrentCell(0, 3), EListError);
    EXPECT_THROW(grid.setRow(0), EListError);
    EXPECT_THROW(grid.setCol(4), EListError);
    EXPECT_EQ(clicks, (std::vector<Cell>{{1, 7}}));
}

TEST_F(GridWidget, currentCellLeavesCellsThatBecomeFixedOrDisappear)
{
    grid.setCurrentCell(1, 1);
    grid.setFixedRows(3);
    EXPECT_EQ(grid.Row(), 3);
    grid.setCurrentCell(3, 30);
    grid.setRowCount(10);
    grid.setColCount(2);
    EXPECT_EQ((Cell{grid.Col(), grid.Row()}), (Cell{1, 9}));
    grid.setColCount(1);
    EXPECT_EQ(grid.FixedCols(), 0);
    EXPECT_EQ(grid.Col(), 0);
}

struct KeyCase {
    const char* name;
    int key;
    Qt::KeyboardModifiers mods;
    Cell from;
    Cell to;
};

class GridKeys : public GridWidget, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(GridKeys, moveTheCurrentCellAndClickOncePerMove)
{
    const KeyCase& c = GetParam();
    grid.setCurrentCell(c.from.first, c.from.second);
    clicks.clear();
    key(c.key, c.mods);
    EXPECT_EQ((Cell{grid.Col(), grid.Row()}), c.to);
    EXPECT_EQ(clicks.size(), c.to == c.from ? 0u : 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Navigation, GridKeys,
    ::testing::Values(KeyCase{"up", Qt::Key_Up, {}, {2, 10}, {2, 9}},
                      KeyCase{"down", Qt::Key_Down, {}, {2, 10}, {2, 11}},
                      KeyCase{"left", Qt::Key_Left, {}, {2, 10}, {1, 10}},
                      KeyCase{"right", Qt::Key_Right, {}, {2, 10}, {3, 10}},
                      KeyCase{"upAtTopStays", Qt::Key_Up, {}, {2, 1}, {2, 1}},
                      KeyCase{"leftAtFirstStays", Qt::Key_Left, {}, {1, 4}, {1, 4}},
                      KeyCase{"downAtBottomStays", Qt::Key_Down, {}, {2, 31}, {2, 31}},
                      KeyCase{"home", Qt::Key_Home, {}, {3, 10}, {1, 10}},
                      KeyCase{"end", Qt::Key_End, {}, {1, 10}, {3, 10}},
                      KeyCase{"ctrlHome", Qt::Key_Home, Qt::ControlModifier, {3, 10}, {1, 1}},
                      KeyCase{"ctrlEnd", Qt::Key_End, Qt::ControlModifier, {1, 10}, {3, 31}},
                      KeyCase{"pageUpAtTop", Qt::Key_PageUp, {}, {2, 3}, {2, 1}},
                      KeyCase{"pageDownAtBottom", Qt::Key_PageDown, {}, {2, 29}, {2, 31}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GridWidget, pageDownMovesByTheRowsInViewAndKeepsCaptionsInView)
{
    const int page = grid.VisibleRowCount();
    ASSERT_GT(page, 2);
    key(Qt::Key_PageDown);
    EXPECT_EQ(grid.Row(), 1 + page);
    EXPECT_EQ(grid.TopRow(), 1 + page);
    EXPECT_EQ(grid.CellRect(1, 0).top(), 0);
    EXPECT_EQ(grid.CellRect(0, grid.Row()).left(), 0);
    EXPECT_TRUE(grid.CellRect(1, 1).isEmpty());
    key(Qt::Key_PageUp);
    EXPECT_EQ(grid.Row(), 1);
    EXPECT_EQ(grid.TopRow(), 1);
}

TEST_F(GridWidget, movingOutOfViewScrollsRowsAndColumnsBehindTheFixedOnes)
{
    grid.setColWidths(2, 150);
    grid.setColWidths(3, 150);
    QCoreApplication::processEvents();
    EXPECT_TRUE(grid.horizontalScrollBar()->isVisible());
    grid.setCurrentCell(3, 31);
    EXPECT_GT(grid.TopRow(), 1);
    EXPECT_GT(grid.LeftCol(), 1);
    const QRect last = grid.CellRect(3, 31);
    ASSERT_FALSE(last.isEmpty());
    EXPECT_LE(last.bottom(), grid.viewport()->height());
    EXPECT_LE(last.right(), grid.viewport()->width());
    EXPECT_EQ(grid.CellRect(0, 0), QRect(0, 0, 50, grid.DefaultRowHeight()));
}

TEST_F(GridWidget, editorCommitsWithEnterAndCancelsWithEscape)
{
    grid.setCells(2, 3, u"old"_s);
    grid.setCurrentCell(2, 3);
    key(Qt::Key_F2);
    ASSERT_TRUE(grid.EditorMode());
    EXPECT_TRUE(editor()->isVisible());
    EXPECT_EQ(editor()->selectedText(), u"old"_s);
    QTest::keyClicks(editor(), u"new"_s);
    EXPECT_EQ(grid.Cells(2, 3), u"new"_s); // typing reaches the cell at once
    QTest::keyClick(editor(), Qt::Key_Escape);
    EXPECT_FALSE(grid.EditorMode());
    EXPECT_EQ(grid.Cells(2, 3), u"old"_s);

    key(Qt::Key_Return);
    QTest::sendKeyEvent(QTest::Click, editor(), Qt::Key_unknown, u"会議"_s, {});
    QTest::keyClick(editor(), Qt::Key_Return);
    EXPECT_FALSE(grid.EditorMode());
    EXPECT_FALSE(editor()->isVisible());
    EXPECT_TRUE(grid.hasFocus());
    EXPECT_EQ(grid.Cells(2, 3), u"会議"_s);
}

TEST_F(GridWidget, typingStartsEditingWithTheTypedCharacter)
{
    grid.setCells(1, 1, u"old"_s);
    QTest::keyClicks(&grid, u"x"_s);
    ASSERT_TRUE(grid.EditorMode());
    QTest::keyClicks(editor(), u"yz"_s);
    QTest::keyClick(editor(), Qt::Key_Down);
    EXPECT_EQ(grid.Cells(1, 1), u"xyz"_s);
    EXPECT_FALSE(grid.EditorMode());
    EXPECT_EQ(grid.Row(), 2);
}

TEST_F(GridWidget, leavingTheGridKeepsTheTypedText)
{
    QLineEdit other(&grid);
    other.show();
    key(Qt::Key_F2);
    QTest::keyClicks(editor(), u"kept"_s);
    other.setFocus();
    EXPECT_FALSE(grid.EditorMode());
    EXPECT_EQ(grid.Cells(1, 1), u"kept"_s);
}

TEST_F(GridWidget, codeReplacingTheEditedCellShowsInTheEditor)
{
    key(Qt::Key_F2);
    QTest::keyClicks(editor(), u"typed"_s);
    grid.setCells(1, 1, u"pasted"_s);
    EXPECT_EQ(editor()->text(), u"pasted"_s);
    QTest::keyClick(editor(), Qt::Key_Escape);
    EXPECT_EQ(grid.Cells(1, 1), u"pasted"_s);
}

TEST_F(GridWidget, withoutEditingOptionKeysDoNotEdit)
{
    grid.setOptions(grid.Options() & ~TjvStringGrid::TGridOptions(TjvStringGrid::goEditing));
    key(Qt::Key_F2);
    QTest::keyClicks(&grid, u"x"_s);
    EXPECT_FALSE(grid.EditorMode());
    EXPECT_EQ(grid.Cells(1, 1), QString());
}

TEST_F(GridWidget, drawCellRunsAfterTheGridsOwnPaintingWithTheCellRect)
{
    struct Call {
        int col, row;
        QRect rect;
        TGridDrawState state;
        QColor brush;
    };
    std::vector<Call> calls;
    grid.setCells(2, 3, u"text"_s);
    grid.OnDrawCell = [&](TjvStringGrid&, int col, int row, const QRect& rect, TGridDrawState state,
                          QPainter& painter) {
        calls.push_back({col, row, rect, state, painter.brush().color()});
        if (col == 2 && row == 3)
            painter.fillRect(rect.adjusted(-5, -5, 5, 5), Qt::magenta); // clipped to the cell
    };
    const QImage image = grid.viewport()->grab().toImage();
    const QRect cell = grid.CellRect(2, 3);
    EXPECT_EQ(image.pixelColor(cell.center()), QColor(Qt::magenta));
    EXPECT_EQ(image.pixelColor(cell.topLeft()), QColor(Qt::magenta));
    EXPECT_NE(image.pixelColor(cell.right() + 1, cell.center().y()), QColor(Qt::magenta));
    EXPECT_NE(image.pixelColor(cell.center().x(), cell.top() - 1), QColor(Qt::magenta));

    auto find = [&](int col, int row) {
        return std::find_if(calls.begin(), calls.end(),
                            [&](const Call& c) { return c.col == col && c.row == row; });
    };
    ASSERT_NE(find(2, 3), calls.end());
    EXPECT_EQ(find(2, 3)->rect, cell);
    EXPECT_EQ(find(2, 3)->brush, grid.palette().color(QPalette::Base));
    ASSERT_NE(find(0, 3), calls.end());
    EXPECT_TRUE(find(0, 3)->state.fixed);
    EXPECT_EQ(find(0, 3)->brush, grid.palette().color(QPalette::Button));
    ASSERT_NE(find(1, 1), calls.end());
    EXPECT_TRUE(find(1, 1)->state.selected);
    EXPECT_TRUE(find(1, 1)->state.focused);
    EXPECT_FALSE(find(2, 1)->state.selected);
}

TEST_F(GridWidget, failingDrawHandlerLeavesTheCellAsTheGridPaintedIt)
{
    grid.OnDrawCell = [](TjvStringGrid&, int, int, const QRect&, TGridDrawState, QPainter&) {
        throw EConvertError(u"bad day"_s);
    };
    const QImage image = grid.viewport()->grab().toImage();
    EXPECT_EQ(image.pixelColor(grid.CellRect(2, 2).center()), grid.palette().color(QPalette::Base));
}

TEST_F(GridWidget, dragInCaptionRowResizesTheColumn)
{
    const QPoint line(grid.CellRect(1, 0).right() + 1, grid.CellRect(1, 0).center().y());
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, line);
    QTest::mouseMove(grid.viewport(), line + QPoint(30, 3));
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, line + QPoint(30, 3));
    EXPECT_EQ(grid.ColWidths(1), 80);
    EXPECT_TRUE(clicks.empty());

    // Not from a normal row, and not when sizing is off.
    const QPoint inBody(grid.CellRect(1, 4).right() + 1, grid.CellRect(1, 4).center().y());
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, inBody);
    QTest::mouseMove(grid.viewport(), inBody + QPoint(30, 0));
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, inBody + QPoint(30, 0));
    grid.setOptions(grid.Options() & ~TjvStringGrid::TGridOptions(TjvStringGrid::goColSizing));
    const QPoint line2(grid.CellRect(2, 0).right() + 1, 5);
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, line2);
    QTest::mouseMove(grid.viewport(), line2 + QPoint(30, 0));
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, line2 + QPoint(30, 0));
    EXPECT_EQ(grid.ColWidths(1), 80);
    EXPECT_EQ(grid.ColWidths(2), 50);
}

TEST_F(GridWidget, mouseUpIsReported)
{
    std::vector<Qt::MouseButton> ups;
    grid.OnMouseUp = [&](TjvStringGrid&, Qt::MouseButton button, Qt::KeyboardModifiers, const QPoint&) {
        ups.push_back(button);
    };
    press(2, 2);
    press(0, 0, Qt::RightButton);
    EXPECT_EQ(ups, (std::vector<Qt::MouseButton>{Qt::LeftButton, Qt::RightButton}));
}

TEST_F(GridWidget, loadKeepsWidthsAndCurrentCellAndGivesNewColumnsTheDefault)
{
    TempFolder folder;
    folder.write(u"m.csv"_s, ",a,b,c,d,e\r\n1,x\r\n2\r\n3\r\n4\r\n");
    grid.setColWidths(0, 70);
    grid.setCurrentCell(2, 3);
    clicks.clear();
    grid.LoadFromFile(folder.file(u"m.csv"_s));
    EXPECT_EQ(grid.ColCount(), 6);
    EXPECT_EQ(grid.RowCount(), 5);
    EXPECT_EQ(grid.ColWidths(0), 70);
    EXPECT_EQ(grid.ColWidths(5), 50);
    EXPECT_EQ((Cell{grid.Col(), grid.Row()}), (Cell{2, 3}));
    EXPECT_TRUE(clicks.empty());
    EXPECT_EQ(grid.Cells(1, 1), u"x"_s);

    EXPECT_THROW(grid.LoadFromFile(folder.file(u"missing.csv"_s)), EInOutError);
    EXPECT_EQ(grid.ColCount(), 6);
    EXPECT_EQ(grid.Cells(1, 1), u"x"_s);
}

TEST_F(GridWidget, saveWhileEditingWritesTheTypedText)
{
    TempFolder folder;
    key(Qt::Key_F2);
    QTest::keyClicks(editor(), u"live"_s);
    grid.SaveToFile(folder.file(u"m.csv"_s));
    const QByteArray written = folder.read(u"m.csv"_s);
    EXPECT_FALSE(written.startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(written.contains("\r\n1\x93\xfa,live,,\r\n")) << written.toHex(' ').toStdString();
}

TEST_F(GridWidget, multiLinePasteIntoTheEditorTakesTheFirstLine)
{
    grid.setCells(1, 1, u"予定"_s);
    key(Qt::Key_F2);
    editor()->setCursorPosition(1);
    QGuiApplication::clipboard()->setText(u"会議\r\n10時から"_s);
    QTest::keyClick(editor(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(editor()->text(), u"予会議定"_s);
    EXPECT_EQ(grid.Cells(1, 1), u"予会議定"_s);
    EXPECT_EQ(editor()->cursorPosition(), 3);
    // Escape still gives the cell back as it was.
    QTest::keyClick(editor(), Qt::Key_Escape);
    EXPECT_EQ(grid.Cells(1, 1), u"予定"_s);
}

TEST_F(GridWidget, rowHeightGrowsWithTheFont)
{
    QFont big = grid.font();
    big.setPixelSize(30);
    grid.setFont(big);
    EXPECT_GE(grid.DefaultRowHeight(), QFontMetrics(big).height() + 2);
    EXPECT_EQ(grid.CellRect(1, 1).height(), grid.DefaultRowHeight());
}

} // namespace
