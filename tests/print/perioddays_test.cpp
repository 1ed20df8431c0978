#include "print/model/PeriodDays.h"
#include "print/model/TextExport.h"

#include "schedule/PageFile.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

class PeriodDaysTest : public ::testing::Test {
protected:
    TempFolder dir;
    QString folder() const { return dir.path() + u'/'; }
    void page(const QString& name, const QString& text) const { PageFile::write(dir.file(name), text); }
};

QList<QDate> dates(const QList<PeriodDays::Day>& days)
{
    QList<QDate> out;
    for (const auto& day : days)
        out.append(day.date);
    return out;
}

TEST(PeriodDaysHeading, DateWeekdayAndHolidayName)
{
    EXPECT_EQ(PeriodDays::heading(QDate(2001, 2, 3)), QStringLiteral("2001年02月03日(土)"));
    EXPECT_EQ(PeriodDays::heading(QDate(2001, 2, 11)), QStringLiteral("2001年02月11日(日) 建国記念の日"));
    // The substitute holiday is named too.
    EXPECT_EQ(PeriodDays::heading(QDate(2001, 2, 12)), QStringLiteral("2001年02月12日(月) 振替休日"));
}

TEST(PeriodDaysPrintedText, LineBreaksAndBlankTexts)
{
    EXPECT_EQ(PeriodDays::printedText(QStringLiteral("a\r\nb\rc\n")), QStringLiteral("a\nb\nc"));
    EXPECT_EQ(PeriodDays::printedText(QStringLiteral("\r\n  \r\n\t")), QString());
    // Leading blank lines and inner spaces are the user's layout.
    EXPECT_EQ(PeriodDays::printedText(QStringLiteral("\r\n  x  y\r\n\r\n")), QStringLiteral("\n  x  y"));
}

TEST_F(PeriodDaysTest, DaysWithTextInDateOrderEmptyOnesLeftOut)
{
    page(QStringLiteral("20010205.txt"), QStringLiteral("日誌五日\r\n二行目\r\n"));
    page(QStringLiteral("Sch20010203.txt"), QStringLiteral("予定三日"));
    page(QStringLiteral("20010203.txt"), QStringLiteral("日誌三日"));
    page(QStringLiteral("20010204.txt"), QStringLiteral("\r\n\r\n")); // blank: no day
    page(QStringLiteral("20010301.txt"), QStringLiteral("outside"));
    page(QStringLiteral("20010131.txt"), QStringLiteral("outside"));
    page(QStringLiteral("2001020X.txt"), QStringLiteral("not ours"));

    const auto days = PeriodDays::collect(folder(), QDate(2001, 2, 1), QDate(2001, 2, 28), {});
    ASSERT_EQ(dates(days), (QList<QDate>{QDate(2001, 2, 3), QDate(2001, 2, 5)}));
    EXPECT_EQ(days[0].plan, QStringLiteral("予定三日"));
    EXPECT_EQ(days[0].diary, QStringLiteral("日誌三日"));
    EXPECT_EQ(days[1].diary, QStringLiteral("日誌五日\n二行目"));
    EXPECT_TRUE(days[1].plan.isEmpty());
}

TEST_F(PeriodDaysTest, AnniversaryComesBackEveryYearAndLeapDayOnlyInLeapYears)
{
    page(QStringLiteral("Anniv0203.txt"), QStringLiteral("記念"));
    page(QStringLiteral("Anniv0229.txt"), QStringLiteral("うるう"));
    const auto days = PeriodDays::collect(folder(), QDate(2000, 2, 4), QDate(2004, 3, 1), {});
    EXPECT_EQ(dates(days), (QList<QDate>{QDate(2000, 2, 29), QDate(2001, 2, 3), QDate(2002, 2, 3),
                                         QDate(2003, 2, 3), QDate(2004, 2, 3), QDate(2004, 2, 29)}));
    EXPECT_EQ(days.last().anniv, QStringLiteral("うるう"));
}

TEST_F(PeriodDaysTest, ScreenTextsWinOverFiles)
{
    page(QStringLiteral("20010203.txt"), QStringLiteral("saved"));
    page(QStringLiteral("20010206.txt"), QStringLiteral("emptied on screen"));
    PeriodDays::ScreenTexts screen;
    screen.insert(QStringLiteral("20010203.txt"), QStringLiteral("typed\nnot saved"));
    screen.insert(QStringLiteral("20010206.txt"), QString());
    screen.insert(QStringLiteral("Sch20010210.txt"), QStringLiteral("new plan")); // no file yet
    screen.insert(QStringLiteral("ToDo.txt"), QStringLiteral("todo on screen"));

    const auto days = PeriodDays::collect(folder(), QDate(2001, 2, 1), QDate(2001, 2, 28), screen);
    ASSERT_EQ(dates(days), (QList<QDate>{QDate(2001, 2, 3), QDate(2001, 2, 10)}));
    EXPECT_EQ(days[0].diary, QStringLiteral("typed\nnot saved"));
    EXPECT_EQ(days[1].plan, QStringLiteral("new plan"));
    EXPECT_EQ(PeriodDays::text(folder(), QStringLiteral("ToDo.txt"), screen),
              QStringLiteral("todo on screen"));
}

TEST_F(PeriodDaysTest, UnreadableFilesAndEmptyPeriods)
{
    // A folder where a day file is expected reads as no text, not as a failure.
    QDir(dir.path()).mkdir(QStringLiteral("20010203.txt"));
    page(QStringLiteral("20010204.txt"), QStringLiteral("x"));
    EXPECT_EQ(dates(PeriodDays::collect(folder(), QDate(2001, 2, 1), QDate(2001, 2, 28), {})),
              QList<QDate>{QDate(2001, 2, 4)});
    EXPECT_TRUE(PeriodDays::collect(folder(), QDate(2001, 2, 28), QDate(2001, 2, 1), {}).isEmpty());
    EXPECT_TRUE(
        PeriodDays::collect(dir.file(QStringLiteral("missing")), QDate(2001, 1, 1), QDate(2001, 12, 31), {})
            .isEmpty());
    // The day itself bounds the period on both ends.
    EXPECT_EQ(dates(PeriodDays::collect(folder(), QDate(2001, 2, 4), QDate(2001, 2, 4), {})),
              QList<QDate>{QDate(2001, 2, 4)});
}

TEST_F(PeriodDaysTest, StoppingGivesNothing)
{
    for (int d = 1; d <= 28; ++d)
        page(QStringLiteral("200102%1.txt").arg(d, 2, 10, QLatin1Char('0')), QStringLiteral("x"));
    int asked = 0;
    const auto days = PeriodDays::collect(folder(), QDate(2001, 2, 1), QDate(2001, 2, 28), {},
                                          [&](qsizetype done, qsizetype total) {
                                              EXPECT_LE(done, total);
                                              EXPECT_EQ(total, 28);
                                              return ++asked < 2;
                                          });
    EXPECT_TRUE(days.isEmpty());
    EXPECT_EQ(asked, 2);
}

TEST(TextExportTest, OneHeadingPerDayUtf8AndLf)
{
    const QList<PeriodDays::Day> days = {
        {QDate(2001, 2, 3), QStringLiteral("会議"), QStringLiteral("晴れ\n散歩"), QString()},
        {QDate(2001, 2, 11), QString(), QString(), QStringLiteral("記念日😀")},
    };
    const QByteArray bytes = TextExport::period(days);
    EXPECT_EQ(QString::fromUtf8(bytes),
              QStringLiteral("■ 2001年02月03日(土)\n【予定】\n会議\n【日誌】\n晴れ\n散歩\n"
                             "\n■ 2001年02月11日(日) 建国記念の日\n【記念日】\n記念日😀\n"));
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(TextExport::period({}).isEmpty());
    EXPECT_EQ(TextExport::page(QStringLiteral("ToDo"), QStringLiteral("a\r\nb\r\n")),
              QByteArray("■ ToDo\na\nb\n"));
}

} // namespace
