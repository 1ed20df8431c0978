#include "schedule/DataFileNames.h"
#include "schedule/Leftovers.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using DataFileNames::Kind;
using DataFileNames::Parsed;

constexpr Kind kKinds[] = {Kind::ToDo, Kind::Memo, Kind::Plan, Kind::Diary, Kind::Anniv, Kind::Month};

// What a name stands for once read back: an anniversary keeps its month and day only, a month
// file its month.
Parsed expectedFor(Kind kind, QDate date)
{
    switch (kind) {
    case Kind::ToDo:
    case Kind::Memo:
        return {kind, {}};
    case Kind::Anniv:
        return {kind, QDate(2000, date.month(), date.day())};
    case Kind::Month:
        return {kind, QDate(date.year(), date.month(), 1)};
    case Kind::Plan:
    case Kind::Diary:
        break;
    }
    return {kind, date};
}

TEST(DataFileNames, namesForADate)
{
    const QDate d(2001, 2, 3);
    EXPECT_EQ(DataFileNames::month(d), QStringLiteral("200102.csv"));
    EXPECT_EQ(DataFileNames::diary(d), QStringLiteral("20010203.txt"));
    EXPECT_EQ(DataFileNames::plan(d), QStringLiteral("Sch20010203.txt"));
    EXPECT_EQ(DataFileNames::anniv(d), QStringLiteral("Anniv0203.txt"));
    EXPECT_EQ(DataFileNames::anniv(QDate(2002, 2, 3)), DataFileNames::anniv(d));
    EXPECT_EQ(DataFileNames::diary(QDate(999, 12, 31)), QStringLiteral("09991231.txt"));
    EXPECT_EQ(DataFileNames::of(Kind::ToDo, d), QStringLiteral("ToDo.txt"));
    EXPECT_EQ(DataFileNames::of(Kind::Memo, QDate()), QStringLiteral("Memo.txt"));
}

TEST(DataFileNames, everyNameBuiltParsesBackToWhatBuiltIt)
{
    int checked = 0;
    for (int year : {1, 999, 1900, 1999, 2000, 2001, 2100, 9999}) {
        for (QDate d(year, 1, 1); d.year() == year; d = d.addDays(1)) {
            // The bold-day look-up builds its names in place: they must be the same names.
            const DataFileNames::DayNames bytes(d);
            EXPECT_EQ(QLatin1String(bytes.diary()), DataFileNames::diary(d));
            EXPECT_EQ(QLatin1String(bytes.plan), DataFileNames::plan(d));
            EXPECT_EQ(QLatin1String(bytes.anniv), DataFileNames::anniv(d));
            for (Kind kind : kKinds) {
                const QString name = DataFileNames::of(kind, d);
                const std::optional<Parsed> parsed = DataFileNames::parse(name);
                ASSERT_TRUE(parsed) << name.toStdString();
                EXPECT_EQ(*parsed, expectedFor(kind, d)) << name.toStdString();
                EXPECT_EQ(DataFileNames::of(parsed->kind, parsed->date), name);
                EXPECT_EQ(DataFileNames::parse(std::string_view(name.toStdString())), parsed);
                EXPECT_TRUE(DataFileNames::looksLikeDataFile(name));
                ++checked;
            }
        }
    }
    EXPECT_EQ(checked, (365 * 7 + 366) * 6); // of these, 2000 alone is a leap year
}

struct Foreign {
    const char* name;
    bool looksLike; // the shape of a data file's name, in another case or with a day no calendar has
};

TEST(DataFileNames, foreignNamesDoNotParse)
{
    const Foreign names[] = {
        {"todo.txt", true},
        {"MEMO.TXT", true},
        {"SCH20010203.txt", true},
        {"20010203.TXT", true},
        {"anniv0203.txt", true},
        {"20010229.txt", true}, // no leap year
        {"Sch20011301.txt", true},
        {"00000101.txt", true}, // there is no year 0
        {"Anniv0230.txt", true},
        {"Anniv1301.txt", true},
        {"Anniv0200.txt", true},
        {"200113.csv", true},
        {"000001.csv", true},
        {"2001020.txt", false},
        {"200102033.txt", false},
        {"Sch2001023.txt", false},
        {"Anniv023.txt", false},
        {"Anniv02031.txt", false},
        {"20010.csv", false},
        {"2001022.csv", false},
        {"200102.txt", false},
        {"20010203.csv", false},
        {"ToDo.csv", false},
        {"20010203.txt.bak", false},
        {"x20010203.txt", false},
        {"20010203.txt\n", false},
        {" ToDo.txt", false},
        {"Memo.txt~", false},
        {"2001-2-3.txt", false},
        {"2001020a.txt", false},
        {"Sch.txt", false},
        {"Anniv.txt", false},
        {".txt", false},
        {"txt", false},
        {"", false},
        {"~QuavSchedulerWork.txt", false},
        {"\xEF\xBC\x92\xEF\xBC\x90\xEF\xBC\x90\xEF\xBC\x91\xEF\xBC\x90\xEF\xBC\x92\xEF\xBC\x90\xEF\xBC\x93."
         "txt",
         false}, // full-width digits
        {"\xD9\xA2\xD9\xA0\xD9\xA0\xD9\xA1\xD9\xA0\xD9\xA2\xD9\xA0\xD9\xA3.txt",
         false}, // Arabic-Indic digits
    };
    for (const Foreign& f : names) {
        const QString name = QString::fromUtf8(f.name);
        EXPECT_FALSE(DataFileNames::parse(name)) << f.name;
        EXPECT_FALSE(DataFileNames::parse(std::string_view(f.name))) << f.name;
        EXPECT_EQ(DataFileNames::looksLikeDataFile(name), f.looksLike) << f.name;
    }
    // Bytes that are no text of ours, such as a code page 932 name, never parse.
    EXPECT_FALSE(DataFileNames::parse(std::string_view("2001\x83\x65"
                                                       "0203.txt")));
    EXPECT_FALSE(DataFileNames::parse(std::string_view("ToDo.txt\0", 9)));
    EXPECT_FALSE(DataFileNames::parse(std::string_view("\xB4odo.txt")));
}

TEST(DataFileNames, anniversaryOf29FebruaryFallsInTheLeapYearBefore)
{
    EXPECT_EQ(DataFileNames::anniversary(2001, 2, 29), QDate(2000, 2, 29));
    EXPECT_EQ(DataFileNames::anniversary(2004, 2, 29), QDate(2004, 2, 29));
    EXPECT_EQ(DataFileNames::anniversary(2103, 2, 29), QDate(2096, 2, 29)); // 2100 is no leap year
    EXPECT_EQ(DataFileNames::anniversary(2001, 2, 28), QDate(2001, 2, 28));
    EXPECT_EQ(DataFileNames::anniversary(2001, 12, 31), QDate(2001, 12, 31));
    EXPECT_FALSE(DataFileNames::anniversary(2001, 2, 30).isValid());
    EXPECT_FALSE(DataFileNames::anniversary(2001, 13, 1).isValid());
    EXPECT_FALSE(DataFileNames::anniversary(2001, 0, 0).isValid());
}

TEST(DataFileNames, leftoversAreOfferedUnderTheirPagesLabel)
{
    struct Case {
        const char* name;
        const char* label;
        int page;
    };
    const Case cases[] = {
        {"ToDo.txt", "ToDo", 0},
        {"Memo.txt", "メモ", 1},
        {"Sch20010203.txt", "2001年02月03日の予定", 2},
        {"09991231.txt", "0999年12月31日の日誌", 3},
        {"Anniv0229.txt", "02月29日の記念日", 4},
        {"099902.csv", "0999年02月の予定表", -1},
    };
    for (const Case& c : cases) {
        QString label;
        int page = -2;
        EXPECT_TRUE(Leftovers::describe(QString::fromUtf8(c.name), &label, &page)) << c.name;
        EXPECT_EQ(label, QString::fromUtf8(c.label)) << c.name;
        EXPECT_EQ(page, c.page) << c.name;
    }
    QString label;
    int page = -2;
    EXPECT_FALSE(Leftovers::describe(QStringLiteral("QuavScheduler.ini"), &label, &page));
    EXPECT_FALSE(Leftovers::describe(QStringLiteral("20010229.txt"), &label, &page));
}

} // namespace
