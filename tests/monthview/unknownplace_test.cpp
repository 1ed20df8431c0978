// Where the window system cannot tell a window's place (Wayland), the place stored by a desktop
// that can stays as it was, for the main window and the three-month view alike.
#include "mainwindow/MainFormFixture.h"

#include "monthview/SomeMonthViewUnit.h"
#include "platform/ProfileFile.h"

#include <QAction>

namespace {

using namespace Qt::StringLiterals;

class UnknownPlaceTest : public MainFormFixture {
protected:
    std::unique_ptr<TSomeMonthViewForm> view;

    void startWithoutPlaces()
    {
        MainFormEnv env = makeEnv();
        env.windowPositionsKnown = false;
        form = std::make_unique<TMainForm>(env);
        view = std::make_unique<TSomeMonthViewForm>(form->monthViewSource(), messages);
        form->setMonthView(view.get());
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    void closeBoth()
    {
        if (view->isVisible())
            view->close();
        view.reset();
        ASSERT_TRUE(closeForm());
    }

    QString value(const QString& section, const QString& key) const
    {
        return ProfileFile::get(ini(), section, key, u"(none)"_s);
    }
};

TEST_F(UnknownPlaceTest, storedPlacesStayAsTheyWereWhileSizesAreWritten)
{
    dir.write(u"QuavScheduler.ini"_s, "[Pos]\r\nTop=200\r\nLeft=300\r\nWidth=640\r\nHeight=480\r\n"
                                      "[M3Pos]\r\nTop=70\r\nLeft=60\r\nWidth=600\r\nHeight=400\r\n");
    startWithoutPlaces();
    action(*form, "ViewMonthsForm")->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    // What such a platform reports for a place is the frame's offset, nothing the user chose.
    form->move(-3, -30);
    form->resize(700, 500);
    view->move(-3, -30);
    view->resize(650, 420);
    QCoreApplication::processEvents();
    closeBoth();

    EXPECT_EQ(value(u"Pos"_s, u"Top"_s), u"200"_s);
    EXPECT_EQ(value(u"Pos"_s, u"Left"_s), u"300"_s);
    EXPECT_EQ(value(u"Pos"_s, u"Width"_s), u"700"_s);
    EXPECT_EQ(value(u"Pos"_s, u"Height"_s), u"500"_s);
    EXPECT_EQ(value(u"M3Pos"_s, u"Top"_s), u"70"_s);
    EXPECT_EQ(value(u"M3Pos"_s, u"Left"_s), u"60"_s);
    EXPECT_EQ(value(u"M3Pos"_s, u"Width"_s), u"650"_s);
    EXPECT_EQ(value(u"M3Pos"_s, u"Height"_s), u"420"_s);
}

TEST_F(UnknownPlaceTest, placeNeverStoredIsNotMadeUp)
{
    startWithoutPlaces();
    action(*form, "ViewMonthsForm")->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    form->move(-3, -30);
    view->move(-3, -30);
    closeBoth();

    EXPECT_EQ(value(u"Pos"_s, u"Top"_s), u"(none)"_s);
    EXPECT_EQ(value(u"Pos"_s, u"Left"_s), u"(none)"_s);
    EXPECT_EQ(value(u"Pos"_s, u"Width"_s), QString::number(617));
    EXPECT_EQ(value(u"M3Pos"_s, u"Top"_s), u"(none)"_s);
    EXPECT_EQ(value(u"M3Pos"_s, u"Left"_s), u"(none)"_s);
    EXPECT_EQ(value(u"M3Pos"_s, u"P1Width"_s), u"225"_s);
    // Everything else of the table is there, as after any close.
    EXPECT_EQ(value(u"Pos"_s, u"ActivePage"_s), u"0"_s);
}

} // namespace
