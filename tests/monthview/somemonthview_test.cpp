#include "mainwindow/MainFormFixture.h"

#include "controls/jvStringGrid.h"
#include "monthview/SomeMonthViewUnit.h"
#include "platform/AnsiText.h"
#include "platform/ProfileFile.h"
#include "support/FileEvents.h"

#include <QAction>
#include <QColorDialog>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QSplitter>

namespace {

QByteArray cp932(const QString& text)
{
    return AnsiText::encode(text);
}

class MonthViewTest : public MainFormFixture {
protected:
    std::unique_ptr<TSomeMonthViewForm> view;
    ScriptedDialogs scripted;

    MonthViewTest() { dialogs = &scripted; }

    TSomeMonthViewForm& startBoth()
    {
        start();
        view = std::make_unique<TSomeMonthViewForm>(form->monthViewSource(), messages);
        form->setMonthView(view.get());
        return *view;
    }

    void restart()
    {
        view.reset();
        ASSERT_TRUE(closeForm());
        startBoth();
    }

    QString m3(const char* key) const
    {
        return ProfileFile::get(ini(), QStringLiteral("M3Pos"), QLatin1String(key), QStringLiteral("?"));
    }

    QColor colourAt(int slot, int col, int row) const
    {
        TjvStringGrid* grid = view->MonthGrids[slot];
        const QImage image = grid->viewport()->grab().toImage();
        const QRect r = grid->CellRect(col, row);
        return QColor(image.pixel(r.right() - 2, r.bottom() - 1));
    }
};

struct SlotCase {
    QDate selected;
    const char* labels[3];
    const char* files[3];
};

TEST_F(MonthViewTest, showsTheSelectedMonthAndTheNextTwo)
{
    const SlotCase cases[] = {
        {QDate(2001, 12, 24),
         {"2001年 12月", "2002年 1月", "2002年 2月"},
         {"200112.csv", "200201.csv", "200202.csv"}},
        {QDate(2001, 11, 30),
         {"2001年 11月", "2001年 12月", "2002年 1月"},
         {"200111.csv", "200112.csv", "200201.csv"}},
        {QDate(2001, 4, 1),
         {"2001年 4月", "2001年 5月", "2001年 6月"},
         {"200104.csv", "200105.csv", "200106.csv"}},
    };
    TSomeMonthViewForm& v = startBoth();
    for (const SlotCase& c : cases) {
        changeDate(c.selected);
        v.RefreshMonths();
        for (int k = 0; k < 3; ++k) {
            SCOPED_TRACE(c.labels[k]);
            EXPECT_EQ(v.MonthLabels[k]->text(), QString::fromUtf8(c.labels[k]));
            EXPECT_EQ(v.MonthFiles[k], folder() + QLatin1String(c.files[k]));
            const QDate first = c.selected.addMonths(k);
            EXPECT_EQ(v.MonthYears[k], first.year());
            EXPECT_EQ(v.MonthNumbers[k], first.month());
        }
    }
}

TEST_F(MonthViewTest, monthWithoutFileHasItsDaysAndEmptyCells)
{
    const struct {
        QDate selected;
        int days;
        const char* last;
    } cases[] = {
        {QDate(2000, 2, 1), 29, "29日(火)"},
        {QDate(2001, 2, 1), 28, "28日(水)"},
        {QDate(2100, 2, 1), 28, "28日(日)"},
    };
    now = QDateTime(QDate(1999, 6, 1), QTime(9, 0)); // no February file is written on the way
    TSomeMonthViewForm& v = startBoth();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.last);
        // The left panel shows the selected month from its file, so look at the slot before.
        changeDate(c.selected.addMonths(-1));
        v.RefreshMonths();
        const TjvStringGrid& grid = *v.MonthGrids[1];
        EXPECT_EQ(grid.RowCount(), 1 + c.days);
        EXPECT_EQ(grid.ColCount(), 4);
        EXPECT_EQ(grid.Rows(0), (QStringList{QString(), QStringLiteral("予定1"), QStringLiteral("予定2"),
                                             QStringLiteral("予定3")}));
        EXPECT_EQ(grid.Cells(0, c.days), QString::fromUtf8(c.last));
        for (int d = 1; d <= c.days; ++d)
            EXPECT_EQ(grid.Rows(d).mid(1).join(QString()), QString()) << d;
    }
}

TEST_F(MonthViewTest, loadedMonthTakesTheMainGridsCaptionsAndWidths)
{
    dir.write(QStringLiteral("200103.csv"),
              cp932(QStringLiteral("左上,古い1,古い2,古い3,追加\r\n1日(木),a,b,c,d\r\n2日(金),e\r\n")));
    TSomeMonthViewForm& v = startBoth();
    grid(*form)->setColWidths(2, 80);
    QFont font = grid(*form)->font();
    font.setPixelSize(15);
    grid(*form)->setFont(font);
    v.RefreshMonths();

    const TjvStringGrid& grid = *v.MonthGrids[1];
    ASSERT_EQ(grid.ColCount(), 5);
    EXPECT_EQ(grid.RowCount(), 3); // the file's rows, not the month's days
    EXPECT_EQ(grid.Rows(0), (QStringList{QString(), QStringLiteral("予定1"), QStringLiteral("予定2"),
                                         QStringLiteral("予定3"), QStringLiteral("追加")}));
    EXPECT_EQ(grid.Rows(2), (QStringList{QStringLiteral("2日(金)"), QStringLiteral("e"), {}, {}, {}}));
    EXPECT_EQ(grid.ColWidths(2), 80);
    EXPECT_EQ(grid.ColWidths(4), 50); // a column the main grid does not have
    EXPECT_EQ(grid.font().pixelSize(), 15);
    EXPECT_EQ(v.MonthGrids[2]->ColWidths(2), 80);
}

TEST_F(MonthViewTest, emptyOrOneLineFileShowsTheMonthWithoutFileNotTheSlotsLastMonth)
{
    const std::pair<const char*, QByteArray> files[] = {
        {"empty", ""}, {"oneField", "x"}, {"captionsOnly", ",a,b\r\n"}, {"blankFirstLine", "\r\n1,2\r\n"}};
    TSomeMonthViewForm& v = startBoth();
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        // The slot first shows a month with text in it.
        dir.write(QStringLiteral("200103.csv"), cp932(QStringLiteral(",予定1\r\n1日(木),三月\r\n")));
        v.RefreshMonths();
        ASSERT_EQ(v.MonthGrids[1]->Cells(1, 1), QStringLiteral("三月"));
        dir.write(QStringLiteral("200103.csv"), bytes);
        v.RefreshMonths();
        const TjvStringGrid& grid = *v.MonthGrids[1];
        EXPECT_EQ(grid.RowCount(), 32);
        EXPECT_EQ(grid.ColCount(), 4);
        EXPECT_EQ(grid.FixedRows(), 1);
        EXPECT_EQ(grid.FixedCols(), 1);
        EXPECT_EQ(grid.Cells(0, 31), QStringLiteral("31日(土)"));
        EXPECT_EQ(grid.Cells(1, 0), QStringLiteral("予定1"));
        for (int d = 1; d <= 31; ++d)
            EXPECT_EQ(grid.Rows(d).mid(1).join(QString()), QString()) << d;
        EXPECT_EQ(file("200103.csv"), bytes);
    }
}

TEST_F(MonthViewTest, commandWritesUnsavedEditsFirstAndShowsThem)
{
    TSomeMonthViewForm& v = startBoth();
    EXPECT_FALSE(v.isVisible());
    grid(*form)->setCells(1, 3, QStringLiteral("打ち合わせ"));
    action(*form, "ToolButton3MonthView")->trigger();
    EXPECT_TRUE(v.isVisible());
    EXPECT_EQ(v.MonthGrids[0]->Cells(1, 3), QStringLiteral("打ち合わせ"));
    EXPECT_TRUE(file("200102.csv").contains(cp932(QStringLiteral("3日(土),打ち合わせ,,"))));
    EXPECT_TRUE(messages.shown().isEmpty());

    // Given again while open: refilled in place from the date selected now.
    changeDate(QDate(2001, 7, 9));
    action(*form, "ViewMonthsForm")->trigger();
    EXPECT_TRUE(v.isVisible());
    EXPECT_EQ(v.MonthLabels[0]->text(), QStringLiteral("2001年 7月"));
    EXPECT_EQ(v.MonthLabels[2]->text(), QStringLiteral("2001年 9月"));
}

TEST_F(MonthViewTest, unreadableMonthFailsTheCommandAndKeepsTheViewAsItWas)
{
    TSomeMonthViewForm& v = startBoth();
    v.RefreshMonths(); // February to April 2001
    v.MonthGrids[1]->setCells(1, 1, QStringLiteral("marker"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("200206.csv"))); // a folder cannot be read as a file

    changeDate(QDate(2002, 5, 1));
    action(*form, "ViewMonthsForm")->trigger();
    EXPECT_EQ(messages.shown().size(), 1);
    EXPECT_FALSE(v.isVisible());
    // Neither the labels nor the schedules moved on: they still belong together.
    EXPECT_EQ(v.MonthLabels[1]->text(), QStringLiteral("2001年 3月"));
    EXPECT_EQ(v.MonthGrids[1]->Cells(1, 1), QStringLiteral("marker"));
    EXPECT_EQ(v.MonthNumbers[1], 3);
}

TEST_F(MonthViewTest, neverWritesMonthFiles)
{
    // A file the grid would write differently (blanks, no CR LF) shows that nothing rewrote it.
    const QByteArray march = cp932(QStringLiteral(",予定1\n1日(木), a \n"));
    dir.write(QStringLiteral("200103.csv"), march);
    TSomeMonthViewForm& v = startBoth();
    action(*form, "ViewMonthsForm")->trigger();
    v.MonthGrids[1]->setCells(1, 1, QStringLiteral("changed in the view"));
    v.close();
    EXPECT_EQ(file("200103.csv"), march);
    EXPECT_FALSE(has("200104.csv"));
}

TEST_F(MonthViewTest, gridsCannotBeEdited)
{
    TSomeMonthViewForm& v = startBoth();
    action(*form, "ViewMonthsForm")->trigger();
    TjvStringGrid* grid = v.MonthGrids[0];
    EXPECT_FALSE(grid->Options() & TjvStringGrid::goEditing);
    grid->setFocus();
    const QString before = grid->Cells(grid->Col(), grid->Row());
    QTest::keyClicks(grid, QStringLiteral("x"));
    QTest::keyClick(grid, Qt::Key_F2);
    EXPECT_FALSE(grid->EditorMode());
    EXPECT_EQ(grid->Cells(grid->Col(), grid->Row()), before);
}

TEST_F(MonthViewTest, escapeClosesTheViewAndStoresItsPlace)
{
    TSomeMonthViewForm& v = startBoth();
    action(*form, "ViewMonthsForm")->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&v));
    v.MonthGrids[1]->setFocus();
    QTest::keyClick(v.MonthGrids[1], Qt::Key_Escape);
    EXPECT_FALSE(v.isVisible());
    EXPECT_EQ(m3("Width"), QStringLiteral("695"));
    EXPECT_EQ(m3("P2Width"), QStringLiteral("225"));
}

TEST_F(MonthViewTest, closesEvenWhenItsPlaceCannotBeStored)
{
    TSomeMonthViewForm& v = startBoth();
    action(*form, "ViewMonthsForm")->trigger();
    // A folder where the settings file is expected, while the view closes.
    const QByteArray stored =
        QFile::exists(ini()) ? dir.read(QStringLiteral("QuavScheduler.ini")) : QByteArray();
    QFile::remove(ini());
    ASSERT_TRUE(QDir().mkdir(ini()));
    v.close();
    ASSERT_TRUE(QDir().rmdir(ini()));
    dir.write(QStringLiteral("QuavScheduler.ini"), stored);
    EXPECT_FALSE(v.isVisible());
    EXPECT_EQ(messages.shown().size(), 1);
}

TEST_F(MonthViewTest, cellsTakeWeekendAndMarkupColoursOfTheirOwnMonth)
{
    // March 2001 in the middle panel: the 3rd is a Saturday, the 4th a Sunday.
    dir.write(QStringLiteral("200103.csv"),
              cp932(QStringLiteral(",予定1,予定2,予定3\r\n1日(木),,,\r\n2日(金),○と☆,,\r\n3日(土),★,,\r\n"
                                   "4日(日),,,\r\n5日(月),,,\r\n")));
    TSomeMonthViewForm& v = startBoth();
    action(*form, "ViewMonthsForm")->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&v));

    EXPECT_EQ(colourAt(1, 1, 2), QColor(181, 237, 165)); // ○ comes later in the list than ☆
    EXPECT_EQ(colourAt(1, 1, 3), QColor(115, 222, 84));  // the symbol over Saturday
    EXPECT_EQ(colourAt(1, 2, 3), QColor(220, 216, 253)); // the rest of Saturday
    EXPECT_EQ(colourAt(1, 3, 4), QColor(255, 208, 208)); // Sunday
    EXPECT_EQ(colourAt(1, 2, 5), QColor(Qt::white));
    EXPECT_NE(colourAt(1, 0, 3), QColor(220, 216, 253)); // day captions keep the fixed look
    EXPECT_NE(colourAt(1, 0, 4), QColor(255, 208, 208));
    // The left panel is February: its 3rd is a Saturday too, its 4th a Sunday.
    EXPECT_EQ(colourAt(0, 2, 4), QColor(255, 208, 208));
    // Row 1 is a Thursday in March and a Sunday in April: each grid goes by its own month.
    EXPECT_EQ(colourAt(1, 2, 1), QColor(Qt::white));
    EXPECT_EQ(colourAt(2, 2, 1), QColor(255, 208, 208));
    // Colours are the main window's at the time of painting.
    scripted.answer([](QDialog& dialog) {
        static_cast<QColorDialog&>(dialog).setCurrentColor(QColor(0, 0, 255));
        return true;
    });
    action(*form, "ColSat1")->trigger();
    EXPECT_EQ(colourAt(1, 2, 3), QColor(0, 0, 255));
}

TEST_F(MonthViewTest, placeAndPanelWidthsSurviveARestart)
{
    TSomeMonthViewForm& first = startBoth();
    EXPECT_EQ(first.pos(), QPoint(207, 140));
    EXPECT_EQ(first.size(), QSize(695, 480));
    action(*form, "ViewMonthsForm")->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&first));
    EXPECT_EQ(first.Panel1->width(), 225);
    EXPECT_EQ(first.Panel2->width(), 225);
    EXPECT_EQ(first.Splitter1->width(), 4);

    first.move(60, 70); // the frame's place, as the settings keep it
    first.resize(640, 400);
    first.Splitter->setSizes({150, 180, 302});
    QCoreApplication::processEvents();
    first.close();
    EXPECT_FALSE(first.isVisible());
    EXPECT_EQ(m3("Top"), QStringLiteral("70"));
    EXPECT_EQ(m3("Left"), QStringLiteral("60"));
    EXPECT_EQ(m3("Width"), QStringLiteral("640"));
    EXPECT_EQ(m3("Height"), QStringLiteral("400"));
    EXPECT_EQ(m3("P1Width"), QStringLiteral("150"));
    EXPECT_EQ(m3("P2Width"), QStringLiteral("180"));
    const QByteArray text = dir.read(QStringLiteral("QuavScheduler.ini"));
    EXPECT_TRUE(text.contains("[M3Pos]\r\nTop=70\r\nLeft=60\r\nWidth=640\r\nHeight=400\r\nP1Width=150\r\n"
                              "P2Width=180\r\n"));

    restart();
    EXPECT_EQ(view->pos(), QPoint(60, 70));
    EXPECT_EQ(view->size(), QSize(640, 400));
    action(*form, "ViewMonthsForm")->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    EXPECT_EQ(view->Panel1->width(), 150);
    EXPECT_EQ(view->Panel2->width(), 180);
}

TEST_F(MonthViewTest, placeOffEveryScreenIsBroughtBackAtShow)
{
    ProfileFile::putInt(ini(), QStringLiteral("M3Pos"), QStringLiteral("Left"), -20000);
    ProfileFile::putInt(ini(), QStringLiteral("M3Pos"), QStringLiteral("Top"), 30000);
    TSomeMonthViewForm& v = startBoth();
    action(*form, "ViewMonthsForm")->trigger();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.intersects(v.frameGeometry()));
    EXPECT_EQ(v.frameGeometry().left(), screen.left());
}

// At program start the view is made before the main window's first show: it takes its place
// from the main window's one read of the settings file.
TEST_F(MonthViewTest, madeAtStartTakesItsPlaceFromTheMainWindowsOneRead)
{
    dir.write(QStringLiteral("QuavScheduler.ini"),
              "[Pos]\r\nWidth=640\r\n[M3Pos]\r\nTop=70\r\nLeft=60\r\nWidth=640\r\nHeight=400\r\n");
    FileEvents events(ini());
    form = std::make_unique<TMainForm>(makeEnv());
    view = std::make_unique<TSomeMonthViewForm>(form->monthViewSource(), messages);
    form->setMonthView(view.get());
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    if (events.available()) {
        EXPECT_EQ(events.take().opened, 1);
    }
    EXPECT_EQ(view->pos(), QPoint(60, 70));
    EXPECT_EQ(view->size(), QSize(640, 400));
}

} // namespace
