#include "controls/jvStringGrid.h"
#include "mainwindow/MainFormFixture.h"
#include "schedule/Markup.h"
#include "platform/AnsiText.h"
#include "platform/ProfileFile.h"

#include <QAction>
#include <QLabel>
#include <QHelpEvent>
#include <QTextCharFormat>
#include <QToolTip>

using namespace Qt::Literals::StringLiterals;

namespace {

TEST(HolidayColours, aHolidayTakesTheSundayColourOnlyWhenAsked)
{
    const MarkupTable table = Markup::defaults();
    const QDate february(2001, 2, 1);
    // 12 February 2001 is the Monday after 建国記念の日 on a Sunday.
    EXPECT_EQ(Markup::cellFill(february, 12, {}, 1, 2, table, true), std::optional<ColorRef>(2));
    EXPECT_EQ(Markup::cellFill(february, 12, {}, 1, 2, table, false), std::nullopt);
    EXPECT_EQ(Markup::cellFill(february, 13, {}, 1, 2, table, true), std::nullopt);
    // A markup symbol still wins; a Saturday holiday is drawn as a Sunday.
    EXPECT_EQ(Markup::cellFill(february, 12, u"★"_s, 1, 2, table, true),
              std::optional<ColorRef>(table[0].color));
    EXPECT_EQ(Markup::cellFill(QDate(2001, 11, 1), 3, {}, 1, 2, table, true), std::optional<ColorRef>(2));
    EXPECT_EQ(Markup::cellFill(QDate(2001, 11, 1), 3, {}, 1, 2, table, false), std::optional<ColorRef>(1));
}

class HolidayViewTest : public MainFormFixture {};

TEST_F(HolidayViewTest, offUntilTurnedOnThenStoredAndShownEverywhere)
{
    start();
    ASSERT_TRUE(action(*form, "Holidays1")->isCheckable());
    EXPECT_FALSE(action(*form, "Holidays1")->isChecked());
    changeDate(QDate(2001, 2, 12));
    EXPECT_EQ(label(*form, "StatusPanel")->text(), u"2001年02月12日"_s);
    const QTextCharFormat sunday = calendar(*form)->weekdayTextFormat(Qt::Sunday);
    EXPECT_NE(calendar(*form)->dateTextFormat(QDate(2001, 2, 12)).foreground(), sunday.foreground());
    ASSERT_TRUE(closeForm());
    // A user who never touched the entry gets no new key.
    EXPECT_FALSE(AnsiText::decode(dir.read(u"QuavScheduler.ini"_s)).contains(u"Holidays"_s));

    now = QDateTime(QDate(2001, 2, 12), QTime(9, 0));
    start();
    action(*form, "Holidays1")->trigger();
    EXPECT_TRUE(form->monthViewSource().cellColours().holidays);
    EXPECT_EQ(label(*form, "StatusPanel")->text(), u"2001年02月12日 振替休日"_s);
    EXPECT_EQ(calendar(*form)->dateTextFormat(QDate(2001, 2, 12)).foreground(), sunday.foreground());
    EXPECT_TRUE(calendar(*form)->dateTextFormat(QDate(2001, 2, 12)).fontWeight() != QFont::Bold);
    // The months at the calendar's edges are coloured too.
    EXPECT_EQ(calendar(*form)->dateTextFormat(QDate(2001, 1, 8)).foreground(), sunday.foreground());
    // The day caption's tool tip names the holiday; other days have none.
    QWidget* cells = grid(*form)->viewport();
    const QPoint caption = grid(*form)->CellRect(0, 12).center();
    QHelpEvent help(QEvent::ToolTip, caption, cells->mapToGlobal(caption));
    QCoreApplication::sendEvent(cells, &help);
    EXPECT_EQ(QToolTip::text(), u"振替休日"_s);
    const QPoint plainDay = grid(*form)->CellRect(0, 13).center();
    QHelpEvent none(QEvent::ToolTip, plainDay, cells->mapToGlobal(plainDay));
    QCoreApplication::sendEvent(cells, &none);
    EXPECT_TRUE(QTest::qWaitFor([] { return QToolTip::text().isEmpty(); }, 2000));

    changeDate(QDate(2001, 2, 13));
    EXPECT_EQ(label(*form, "StatusPanel")->text(), u"2001年02月13日"_s);
    ASSERT_TRUE(closeForm());
    EXPECT_EQ(ProfileFile::get(ini(), u"Cal"_s, u"Holidays"_s, {}), u"1"_s);

    start();
    EXPECT_TRUE(action(*form, "Holidays1")->isChecked());
    EXPECT_EQ(label(*form, "StatusPanel")->text(), u"2001年02月12日 振替休日"_s);
    action(*form, "Holidays1")->trigger();
    EXPECT_EQ(label(*form, "StatusPanel")->text(), u"2001年02月12日"_s);
    EXPECT_NE(calendar(*form)->dateTextFormat(QDate(2001, 2, 12)).foreground(), sunday.foreground());
    ASSERT_TRUE(closeForm());
    EXPECT_EQ(ProfileFile::get(ini(), u"Cal"_s, u"Holidays"_s, {}), u"0"_s);
}

} // namespace
