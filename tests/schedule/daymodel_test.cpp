#include "schedule/BoldDays.h"
#include "schedule/DayFiles.h"
#include "schedule/DayTexts.h"
#include "schedule/Markup.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

TEST(DayFiles, folderIsJoinedWithExactlyOneSeparator)
{
    EXPECT_EQ(DayFiles::joinPath(QStringLiteral("/data/"), QStringLiteral("ToDo.txt")),
              QStringLiteral("/data/ToDo.txt"));
    EXPECT_EQ(DayFiles::joinPath(QStringLiteral("/data"), QStringLiteral("ToDo.txt")),
              QStringLiteral("/data/ToDo.txt"));
    const DayFilePaths p = DayFilePaths::forDate(QStringLiteral("/d"), QDate(2001, 2, 3));
    EXPECT_EQ(p.month, QStringLiteral("/d/200102.csv"));
    EXPECT_EQ(p.plan, QStringLiteral("/d/Sch20010203.txt"));
}

TEST(DayTexts, japaneseFormsWhateverTheLocale)
{
    QLocale::setDefault(QLocale(QLocale::English));
    EXPECT_EQ(DayTexts::dayCaption(QDate(2001, 2, 3)), QStringLiteral("3日(土)"));
    EXPECT_EQ(DayTexts::dayCaption(QDate(2001, 2, 4)), QStringLiteral("4日(日)"));
    QString week;
    for (int d = 4; d <= 10; ++d) // 4 February 2001 is a Sunday
        week += DayTexts::weekdayName(QDate(2001, 2, d));
    EXPECT_EQ(week, QStringLiteral("日月火水木金土"));
    EXPECT_EQ(DayTexts::monthLabel(2001, 2), QStringLiteral(" 2001年 2月"));
    EXPECT_EQ(DayTexts::statusDate(QDate(2001, 2, 3)), QStringLiteral("2001年02月03日"));
}

TEST(Markup, captionsCarryAccessKeys)
{
    EXPECT_EQ(Markup::caption(0, QStringLiteral("★")), QStringLiteral("★(&1)"));
    EXPECT_EQ(Markup::caption(8, QStringLiteral("▼")), QStringLiteral("▼(&9)"));
    EXPECT_EQ(Markup::caption(9, QStringLiteral("▽")), QStringLiteral("▽(&0)"));
}

TEST(Markup, firstEntryWinsWhateverThePosition)
{
    const MarkupTable table = Markup::defaults();
    EXPECT_EQ(Markup::find(QStringLiteral("☆と★"), table), 0);
    EXPECT_EQ(Markup::find(QStringLiteral("会議☆"), table), 1);
    EXPECT_EQ(Markup::find(QStringLiteral("会議"), table), -1);
    EXPECT_EQ(Markup::find(QString(), table), -1);
}

TEST(Markup, emptySymbolsAndSplitCharactersNeverMatch)
{
    MarkupTable table = Markup::defaults();
    table[0].symbol.clear();
    EXPECT_EQ(Markup::find(QStringLiteral("★"), table), -1);
    // A symbol that is half of a character outside the basic plane does not match inside it.
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    table[1].symbol = emoji.right(1);
    EXPECT_EQ(Markup::find(emoji, table), -1);
    table[1].symbol = emoji;
    EXPECT_EQ(Markup::find(QStringLiteral("x") + emoji, table), 1);
}

TEST(Markup, cellFillRules)
{
    const MarkupTable table = Markup::defaults();
    const QDate feb(2001, 2, 1);
    const ColorRef sat = 1, sun = 2;
    EXPECT_EQ(Markup::cellFill(feb, 3, QString(), sat, sun, table), sat);
    EXPECT_EQ(Markup::cellFill(feb, 4, QString(), sat, sun, table), sun);
    EXPECT_EQ(Markup::cellFill(feb, 5, QString(), sat, sun, table), std::nullopt);
    EXPECT_EQ(Markup::cellFill(feb, 4, QStringLiteral("会議★"), sat, sun, table), table[0].color);
    EXPECT_EQ(Markup::cellFill(feb, 5, QStringLiteral("□"), sat, sun, table), table[5].color);
    // Row 30 is no day of February: no weekday, so no weekend colour, but markup still shows.
    EXPECT_EQ(Markup::cellFill(feb, 30, QString(), sat, sun, table), std::nullopt);
    EXPECT_EQ(Markup::cellFill(feb, 30, QStringLiteral("▽"), sat, sun, table), table[9].color);
}

TEST(BoldDays, diaryPlanAndAnniversaryFilesMarkDays)
{
    TempFolder dir;
    dir.write(QStringLiteral("20010203.txt"), "x");
    dir.write(QStringLiteral("Sch20010210.txt"), "x");
    dir.write(QStringLiteral("Anniv0228.txt"), "x");
    dir.write(QStringLiteral("200102.csv"), "x");
    dir.write(QStringLiteral("20000205.txt"), "x"); // another year
    dir.write(QStringLiteral("ToDo.txt"), "x");
    const quint32 marked = BoldDays::forMonth(dir.path(), 2001, 2);
    EXPECT_EQ(marked, (1u << 2) | (1u << 9) | (1u << 27));
    // The anniversary marks the same day in every year.
    EXPECT_EQ(BoldDays::forMonth(dir.path() + u'/', 1999, 2), 1u << 27);
    EXPECT_EQ(BoldDays::forMonth(dir.path(), 2001, 3), 0u);
}

} // namespace
