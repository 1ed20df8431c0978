// On a dark desktop palette the main window's coloured cells, month label, grid lines and
// calendar colours must stay readable: measured in what the widgets really render.
#include "mainwindow/MainFormFixture.h"

#include "controls/jvStringGrid.h"
#include "support/DarkPalette.h"

#include <QLabel>
#include <QTextCharFormat>

namespace {

using namespace Qt::Literals::StringLiterals;

class DarkPaletteTest : public MainFormFixture {
protected:
    TMainForm& startDark()
    {
        start();
        form->setPalette(darkPalette());
        QCoreApplication::processEvents();
        return *form;
    }

    QImage gridImage() const { return grid(*form)->viewport()->grab().toImage(); }
    RenderedInk cellInk(int col, int row) const
    {
        return measureInk(gridImage(), grid(*form)->CellRect(col, row));
    }
};

// February 2001: the 3rd is a Saturday, the 4th a Sunday, the 6th a Tuesday.
TEST_F(DarkPaletteTest, textOnWeekendAndMarkupFillsReads)
{
    TMainForm& f = startDark();
    grid(f)->setCells(1, 4, u"●休み"_s);
    grid(f)->setCells(2, 3, u"会議"_s);
    grid(f)->setCells(1, 6, u"★出張"_s);
    grid(f)->setCells(2, 6, u"打合せ"_s);
    grid(f)->setRow(10);
    const struct {
        int col, row;
        const char* what;
    } cells[] = {{1, 4, "markup on a Sunday"},
                 {2, 3, "Saturday"},
                 {1, 6, "markup on a weekday"},
                 {2, 6, "plain cell"}};
    for (const auto& c : cells) {
        SCOPED_TRACE(c.what);
        EXPECT_GE(cellInk(c.col, c.row).contrast, Contrast::kMinTextRatio);
    }
    // The fills themselves stay as the settings give them.
    EXPECT_EQ(cellInk(1, 4).fill, QColor(228, 249, 223).rgb() & 0xFFFFFF);
}

TEST_F(DarkPaletteTest, currentCellOutOfFocusOnAFillReads)
{
    TMainForm& f = startDark();
    grid(f)->setCells(1, 4, u"●休み"_s);
    grid(f)->setCol(1);
    grid(f)->setRow(4);
    calendar(f)->setFocus();
    QCoreApplication::processEvents();
    ASSERT_FALSE(grid(f)->hasFocus());
    EXPECT_GE(cellInk(1, 4).contrast, Contrast::kMinTextRatio);
}

TEST_F(DarkPaletteTest, gridLinesStandOutFromTheCells)
{
    TMainForm& f = startDark();
    grid(f)->setRow(10);
    const QImage image = gridImage();
    const QRect normal = grid(f)->CellRect(1, 6);
    const QRgb base = darkPalette().color(QPalette::Base).rgb();
    EXPECT_GE(Contrast::ratio(image.pixel(normal.right() + 1, normal.center().y()), base),
              Contrast::kMinLineRatio);
    EXPECT_GE(Contrast::ratio(image.pixel(normal.center().x(), normal.bottom() + 1), base),
              Contrast::kMinLineRatio);
    const QRect caption = grid(f)->CellRect(0, 6);
    const QRgb button = darkPalette().color(QPalette::Button).rgb();
    EXPECT_GE(Contrast::ratio(image.pixel(caption.center().x(), caption.bottom() + 1), button),
              Contrast::kMinLineRatio);
}

TEST_F(DarkPaletteTest, monthLabelKeepsItsSkyBlueAndItsTextReads)
{
    TMainForm& f = startDark();
    const QImage image = label(f, "lblThisMonth")->grab().toImage();
    const RenderedInk ink = measureInk(image, image.rect());
    EXPECT_EQ(ink.fill, QColor(166, 202, 240).rgb() & 0xFFFFFF);
    EXPECT_GE(ink.contrast, Contrast::kMinTextRatio);
}

TEST_F(DarkPaletteTest, calendarWeekendAndHolidayColoursReadAndStayRed)
{
    TMainForm& f = startDark();
    action(f, "Holidays1")->trigger();
    const QRgb base = calendar(f)->palette().color(QPalette::Base).rgb();
    const QColor sunday = calendar(f)->weekdayTextFormat(Qt::Sunday).foreground().color();
    const QColor saturday = calendar(f)->weekdayTextFormat(Qt::Saturday).foreground().color();
    // 12 February 2001 is a holiday on a Monday.
    const QColor holiday = calendar(f)->dateTextFormat(QDate(2001, 2, 12)).foreground().color();
    for (const QColor& ink : {sunday, saturday, holiday}) {
        EXPECT_GE(Contrast::ratio(ink.rgb(), base), Contrast::kMinTextRatio) << ink.name().toStdString();
        EXPECT_GT(ink.red(), ink.green() + 40) << ink.name().toStdString();
    }
    EXPECT_EQ(holiday, sunday);

    // Back on a light palette the red turns dark again, not left light from the dark one.
    f.setPalette(QPalette(Qt::white));
    QCoreApplication::processEvents();
    const QColor light = calendar(f)->weekdayTextFormat(Qt::Sunday).foreground().color();
    EXPECT_GE(Contrast::ratio(light.rgb(), QColor(Qt::white).rgb()), Contrast::kMinTextRatio);
    EXPECT_LT(light.lightness(), sunday.lightness());
    EXPECT_EQ(calendar(f)->dateTextFormat(QDate(2001, 2, 12)).foreground().color(), light);
}

} // namespace
