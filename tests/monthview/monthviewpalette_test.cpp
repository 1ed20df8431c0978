// The three-month view on a dark desktop palette: its month labels keep their fills and their
// text reads; the weekend and markup cells read as in the main grid.
#include "mainwindow/MainFormFixture.h"

#include "controls/jvStringGrid.h"
#include "monthview/SomeMonthViewUnit.h"
#include "support/DarkPalette.h"

#include <QAction>
#include <QLabel>

namespace {

using namespace Qt::Literals::StringLiterals;

class MonthViewPaletteTest : public MainFormFixture {
protected:
    std::unique_ptr<TSomeMonthViewForm> view;

    void startDark()
    {
        start();
        view = std::make_unique<TSomeMonthViewForm>(form->monthViewSource(), messages);
        form->setMonthView(view.get());
        view->setPalette(darkPalette());
    }
};

TEST_F(MonthViewPaletteTest, labelsAndMarkedCellsRead)
{
    startDark();
    grid(*form)->setCells(1, 4, u"●休み"_s);
    grid(*form)->setCells(2, 3, u"会議"_s);
    action(*form, "ViewMonthsForm")->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));

    const struct {
        QLabel* label;
        QColor fill;
    } labels[] = {{view->Label1, QColor(166, 202, 240)},
                  {view->Label2, QColor(192, 220, 192)},
                  {view->Label3, QColor(192, 220, 192)}};
    for (const auto& l : labels) {
        SCOPED_TRACE(l.label->objectName().toStdString());
        const QImage image = l.label->grab().toImage();
        const RenderedInk ink = measureInk(image, image.rect());
        EXPECT_EQ(ink.fill, l.fill.rgb() & 0xFFFFFF);
        EXPECT_GE(ink.contrast, Contrast::kMinTextRatio);
    }

    TjvStringGrid* grid = view->MonthGrids[0];
    const QImage cells = grid->viewport()->grab().toImage();
    EXPECT_GE(measureInk(cells, grid->CellRect(2, 3)).contrast, Contrast::kMinTextRatio); // Saturday
    const RenderedInk marked = measureInk(cells, grid->CellRect(1, 4));
    EXPECT_EQ(marked.fill, QColor(228, 249, 223).rgb() & 0xFFFFFF);
    EXPECT_GE(marked.contrast, Contrast::kMinTextRatio);
}

// A theme switched while the program runs reaches the labels too.
TEST_F(MonthViewPaletteTest, paletteChangedLaterReachesTheLabels)
{
    start();
    view = std::make_unique<TSomeMonthViewForm>(form->monthViewSource(), messages);
    form->setMonthView(view.get());
    action(*form, "ViewMonthsForm")->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    view->setPalette(darkPalette());
    QCoreApplication::processEvents();
    const QImage image = view->Label1->grab().toImage();
    EXPECT_GE(measureInk(image, image.rect()).contrast, Contrast::kMinTextRatio);
}

} // namespace
