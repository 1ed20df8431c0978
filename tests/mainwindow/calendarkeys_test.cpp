#include "MainFormFixture.h"

#include "controls/jvStringGrid.h"
#include "platform/AnsiText.h"

#include <QDir>
#include <QLabel>
#include <QSpinBox>
#include <QTableView>
#include <QToolButton>

namespace {

class CalendarKeysTest : public MainFormFixture {
protected:
    QTableView* view() const
    {
        return calendar(*form)->findChild<QTableView*>(QStringLiteral("qt_calendar_calendarview"));
    }

    // The pages, the grid and the status bar all show `date`.
    void expectShown(QDate date) const
    {
        EXPECT_EQ(form->selectedDate(), date);
        EXPECT_EQ(form->dataFile(DataFileNames::Kind::Diary),
                  folder() + date.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".txt"));
        EXPECT_EQ(form->dataFile(DataFileNames::Kind::Month),
                  folder() + date.toString(QStringLiteral("yyyyMM")) + QStringLiteral(".csv"));
        EXPECT_EQ(grid(*form)->Row(), date.day());
        EXPECT_EQ(label(*form, "StatusPanel")->text(), date.toString(QStringLiteral("yyyy年MM月dd日")));
    }
};

TEST_F(CalendarKeysTest, arrowKeysRunTheDateChange)
{
    TMainForm& f = start();
    ASSERT_NE(view(), nullptr);
    type(memo(f, "Memo7"), QStringLiteral("三日の日誌"));
    view()->setFocus();
    QTest::keyClick(view(), Qt::Key_Right);
    expectShown(QDate(2001, 2, 4));
    EXPECT_EQ(file("20010203.txt"), AnsiText::encode(QStringLiteral("三日の日誌")));
    EXPECT_TRUE(memo(f, "Memo7")->toPlainText().isEmpty());

    // Down a week and into the next month.
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(view(), Qt::Key_Down);
    expectShown(QDate(2001, 3, 4));
    EXPECT_TRUE(has("200102.csv"));
}

TEST_F(CalendarKeysTest, typedYearMovesTheDateWithIt)
{
    TMainForm& f = start();
    auto* yearButton = calendar(f)->findChild<QToolButton*>(QStringLiteral("qt_calendar_yearbutton"));
    auto* yearEdit = calendar(f)->findChild<QSpinBox*>(QStringLiteral("qt_calendar_yearedit"));
    ASSERT_NE(yearButton, nullptr);
    ASSERT_NE(yearEdit, nullptr);
    yearButton->click();
    ASSERT_TRUE(yearEdit->isVisible());
    yearEdit->selectAll();
    QTest::keyClicks(yearEdit, QStringLiteral("2004"));
    QTest::keyClick(yearEdit, Qt::Key_Return);
    EXPECT_EQ(calendar(f)->yearShown(), 2004);
    expectShown(QDate(2004, 2, 3));
}

TEST_F(CalendarKeysTest, datesTheProgramSelectsRunNoSecondChange)
{
    TMainForm& f = start();
    // An unreadable new month refuses the change and puts the calendar back, without a loop.
    QDir(dir.path()).mkdir(QStringLiteral("200103.csv"));
    view()->setFocus();
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(view(), Qt::Key_Down);
    expectShown(QDate(2001, 2, 24));
    messages.clear();
    QTest::keyClick(view(), Qt::Key_Down);
    EXPECT_EQ(messages.shown().size(), 1);
    expectShown(QDate(2001, 2, 24));
    action(f, "Today1")->trigger();
    expectShown(QDate(2001, 2, 3));
    EXPECT_EQ(messages.shown().size(), 1);
}

} // namespace
