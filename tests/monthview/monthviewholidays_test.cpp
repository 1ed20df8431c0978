#include "mainwindow/MainFormFixture.h"

#include "controls/jvStringGrid.h"
#include "monthview/SomeMonthViewUnit.h"

#include <QAction>

namespace {

class MonthViewHolidaysTest : public MainFormFixture {
protected:
    std::unique_ptr<TSomeMonthViewForm> view;

    QColor colourAt(int slot, int col, int row) const
    {
        TjvStringGrid* grid = view->MonthGrids[slot];
        const QImage image = grid->viewport()->grab().toImage();
        const QRect r = grid->CellRect(col, row);
        return QColor(image.pixel(r.right() - 2, r.bottom() - 1));
    }
};

TEST_F(MonthViewHolidaysTest, holidaysTakeTheSundayColourOnceTurnedOn)
{
    start();
    view = std::make_unique<TSomeMonthViewForm>(form->monthViewSource(), messages);
    form->setMonthView(view.get());
    action(*form, "ViewMonthsForm")->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    const QColor sunday(255, 208, 208);

    // 12 February 2001 (振替休日) and 20 March 2001 (春分の日), a Monday and a Tuesday.
    EXPECT_EQ(colourAt(0, 1, 12), QColor(Qt::white));
    EXPECT_EQ(colourAt(1, 2, 20), QColor(Qt::white));
    action(*form, "Holidays1")->trigger();
    EXPECT_EQ(colourAt(0, 1, 12), sunday);
    EXPECT_EQ(colourAt(1, 2, 20), sunday);
    EXPECT_EQ(colourAt(1, 2, 21), QColor(Qt::white));
    action(*form, "Holidays1")->trigger();
    EXPECT_EQ(colourAt(0, 1, 12), QColor(Qt::white));
}

} // namespace
