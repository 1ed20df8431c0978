// Tables typed from 国民の祝日に関する法律 (昭和23年法律第178号) and its amendments of 1966,
// 1973, 1985, 1989, 1995, 1998, 2001, 2005, 2014 and 2018, the laws for the one-time days
// (1959, 1989, 1990, 1993, 2019), the Olympic special measures law for 2020 and 2021, and the
// cabinet office's published lists of national holidays (内閣府「国民の祝日について」).
#include "schedule/Holidays.h"

#include <gtest/gtest.h>

#include <map>

using namespace Qt::Literals::StringLiterals;

namespace {

using Year = std::map<QString, QString>; // "mm-dd" -> name

Year listed(int year)
{
    Year days;
    for (const Holidays::Holiday& h : Holidays::ofYear(year))
        days.emplace(h.date.toString(QStringLiteral("MM-dd")), h.name);
    return days;
}

std::string show(const Year& days)
{
    QString text;
    for (const auto& [day, name] : days)
        text += day + u' ' + name + u'\n';
    return text.toStdString();
}

struct WholeYear {
    int year;
    Year days;
};

// Years where a rule starts, ends or meets another.
const WholeYear kYears[] = {
    // In force from 20 July: only the autumn days.
    {1948, {{u"09-23"_s, u"秋分の日"_s}, {u"11-03"_s, u"文化の日"_s}, {u"11-23"_s, u"勤労感謝の日"_s}}},
    {1959,
     {{u"01-01"_s, u"元日"_s},
      {u"01-15"_s, u"成人の日"_s},
      {u"03-21"_s, u"春分の日"_s},
      {u"04-10"_s, u"皇太子明仁親王の結婚の儀"_s},
      {u"04-29"_s, u"天皇誕生日"_s},
      {u"05-03"_s, u"憲法記念日"_s},
      {u"05-05"_s, u"こどもの日"_s},
      {u"09-24"_s, u"秋分の日"_s},
      {u"11-03"_s, u"文化の日"_s},
      {u"11-23"_s, u"勤労感謝の日"_s}}},
    // 11 February a Sunday before the substitute rule took effect; 29 April and 23 September after.
    {1973,
     {{u"01-01"_s, u"元日"_s},
      {u"01-15"_s, u"成人の日"_s},
      {u"02-11"_s, u"建国記念の日"_s},
      {u"03-21"_s, u"春分の日"_s},
      {u"04-29"_s, u"天皇誕生日"_s},
      {u"04-30"_s, u"振替休日"_s},
      {u"05-03"_s, u"憲法記念日"_s},
      {u"05-05"_s, u"こどもの日"_s},
      {u"09-15"_s, u"敬老の日"_s},
      {u"09-23"_s, u"秋分の日"_s},
      {u"09-24"_s, u"振替休日"_s},
      {u"10-10"_s, u"体育の日"_s},
      {u"11-03"_s, u"文化の日"_s},
      {u"11-23"_s, u"勤労感謝の日"_s}}},
    {1989,
     {{u"01-01"_s, u"元日"_s},
      {u"01-02"_s, u"振替休日"_s},
      {u"01-15"_s, u"成人の日"_s},
      {u"01-16"_s, u"振替休日"_s},
      {u"02-11"_s, u"建国記念の日"_s},
      {u"02-24"_s, u"昭和天皇の大喪の礼"_s},
      {u"03-21"_s, u"春分の日"_s},
      {u"04-29"_s, u"みどりの日"_s},
      {u"05-03"_s, u"憲法記念日"_s},
      {u"05-04"_s, u"国民の休日"_s},
      {u"05-05"_s, u"こどもの日"_s},
      {u"09-15"_s, u"敬老の日"_s},
      {u"09-23"_s, u"秋分の日"_s},
      {u"10-10"_s, u"体育の日"_s},
      {u"11-03"_s, u"文化の日"_s},
      {u"11-23"_s, u"勤労感謝の日"_s},
      {u"12-23"_s, u"天皇誕生日"_s}}},
    // The first year of the 2005 amendment: four Sunday holidays.
    {2007,
     {{u"01-01"_s, u"元日"_s},
      {u"01-08"_s, u"成人の日"_s},
      {u"02-11"_s, u"建国記念の日"_s},
      {u"02-12"_s, u"振替休日"_s},
      {u"03-21"_s, u"春分の日"_s},
      {u"04-29"_s, u"昭和の日"_s},
      {u"04-30"_s, u"振替休日"_s},
      {u"05-03"_s, u"憲法記念日"_s},
      {u"05-04"_s, u"みどりの日"_s},
      {u"05-05"_s, u"こどもの日"_s},
      {u"07-16"_s, u"海の日"_s},
      {u"09-17"_s, u"敬老の日"_s},
      {u"09-23"_s, u"秋分の日"_s},
      {u"09-24"_s, u"振替休日"_s},
      {u"10-08"_s, u"体育の日"_s},
      {u"11-03"_s, u"文化の日"_s},
      {u"11-23"_s, u"勤労感謝の日"_s},
      {u"12-23"_s, u"天皇誕生日"_s},
      {u"12-24"_s, u"振替休日"_s}}},
    // The accession: no 天皇誕生日, ten days in a row from 27 April.
    {2019, {{u"01-01"_s, u"元日"_s},           {u"01-14"_s, u"成人の日"_s},   {u"02-11"_s, u"建国記念の日"_s},
            {u"03-21"_s, u"春分の日"_s},       {u"04-29"_s, u"昭和の日"_s},   {u"04-30"_s, u"国民の休日"_s},
            {u"05-01"_s, u"天皇の即位の日"_s}, {u"05-02"_s, u"国民の休日"_s}, {u"05-03"_s, u"憲法記念日"_s},
            {u"05-04"_s, u"みどりの日"_s},     {u"05-05"_s, u"こどもの日"_s}, {u"05-06"_s, u"振替休日"_s},
            {u"07-15"_s, u"海の日"_s},         {u"08-11"_s, u"山の日"_s},     {u"08-12"_s, u"振替休日"_s},
            {u"09-16"_s, u"敬老の日"_s},       {u"09-23"_s, u"秋分の日"_s},   {u"10-14"_s, u"体育の日"_s},
            {u"10-22"_s, u"即位礼正殿の儀"_s}, {u"11-03"_s, u"文化の日"_s},   {u"11-04"_s, u"振替休日"_s},
            {u"11-23"_s, u"勤労感謝の日"_s}}},
    {2020,
     {{u"01-01"_s, u"元日"_s},
      {u"01-13"_s, u"成人の日"_s},
      {u"02-11"_s, u"建国記念の日"_s},
      {u"02-23"_s, u"天皇誕生日"_s},
      {u"02-24"_s, u"振替休日"_s},
      {u"03-20"_s, u"春分の日"_s},
      {u"04-29"_s, u"昭和の日"_s},
      {u"05-03"_s, u"憲法記念日"_s},
      {u"05-04"_s, u"みどりの日"_s},
      {u"05-05"_s, u"こどもの日"_s},
      {u"05-06"_s, u"振替休日"_s},
      {u"07-23"_s, u"海の日"_s},
      {u"07-24"_s, u"スポーツの日"_s},
      {u"08-10"_s, u"山の日"_s},
      {u"09-21"_s, u"敬老の日"_s},
      {u"09-22"_s, u"秋分の日"_s},
      {u"11-03"_s, u"文化の日"_s},
      {u"11-23"_s, u"勤労感謝の日"_s}}},
    {2021,
     {{u"01-01"_s, u"元日"_s},
      {u"01-11"_s, u"成人の日"_s},
      {u"02-11"_s, u"建国記念の日"_s},
      {u"02-23"_s, u"天皇誕生日"_s},
      {u"03-20"_s, u"春分の日"_s},
      {u"04-29"_s, u"昭和の日"_s},
      {u"05-03"_s, u"憲法記念日"_s},
      {u"05-04"_s, u"みどりの日"_s},
      {u"05-05"_s, u"こどもの日"_s},
      {u"07-22"_s, u"海の日"_s},
      {u"07-23"_s, u"スポーツの日"_s},
      {u"08-08"_s, u"山の日"_s},
      {u"08-09"_s, u"振替休日"_s},
      {u"09-20"_s, u"敬老の日"_s},
      {u"09-23"_s, u"秋分の日"_s},
      {u"11-03"_s, u"文化の日"_s},
      {u"11-23"_s, u"勤労感謝の日"_s}}},
};

TEST(Holidays, wholeYearsMatchTheLaw)
{
    for (const WholeYear& y : kYears)
        EXPECT_EQ(listed(y.year), y.days) << y.year << "\nexpected:\n"
                                          << show(y.days) << "got:\n"
                                          << show(listed(y.year));
}

struct Day {
    QDate date;
    const char16_t* name; // empty: no holiday
};

TEST(Holidays, ruleEdges)
{
    const Day days[] = {
        {QDate(1948, 5, 5), u""}, // before the law took effect
        {QDate(1966, 9, 15), u"敬老の日"},
        {QDate(1966, 2, 11), u""}, // 建国記念の日 only from 1967
        {QDate(1967, 2, 11), u"建国記念の日"},
        {QDate(1973, 2, 12), u""}, // a Sunday holiday before the substitute rule
        {QDate(1986, 5, 4), u""},  // a Sunday between two holidays before 2007
        {QDate(1988, 5, 4), u"国民の休日"},
        {QDate(1992, 5, 4), u"振替休日"}, // a Monday after a Sunday holiday and before one: substitute
        {QDate(1996, 7, 20), u"海の日"},
        {QDate(1999, 1, 15), u"成人の日"},
        {QDate(2000, 1, 15), u""}, // the Monday rule of 2000
        {QDate(2000, 1, 10), u"成人の日"},
        {QDate(2000, 10, 9), u"体育の日"},
        {QDate(2002, 9, 15), u"敬老の日"},
        {QDate(2003, 9, 15), u"敬老の日"}, // the third Monday that year
        {QDate(2003, 7, 21), u"海の日"},
        {QDate(2006, 1, 2), u"振替休日"},
        {QDate(2006, 4, 29), u"みどりの日"},
        {QDate(2006, 5, 4), u"国民の休日"},
        {QDate(2008, 5, 6), u"振替休日"}, // Sunday 4 May: the next day that is no holiday
        {QDate(2009, 5, 6), u"振替休日"}, // Sunday 3 May: two holidays later
        {QDate(2009, 9, 22), u"国民の休日"},
        {QDate(2015, 8, 11), u""},
        {QDate(2016, 8, 11), u"山の日"},
        {QDate(2018, 12, 24), u"振替休日"},
        {QDate(2019, 12, 23), u""},
        {QDate(2020, 7, 20), u""}, // moved for the Olympic games
        {QDate(2020, 10, 12), u""},
        {QDate(2021, 8, 11), u""},
        {QDate(2022, 7, 18), u"海の日"},
        {QDate(2022, 10, 10), u"スポーツの日"},
        {QDate(2026, 9, 22), u"国民の休日"},
        {QDate(2150, 11, 23), u"勤労感謝の日"},
        {QDate(2151, 1, 1), u""},
        {QDate(1947, 11, 3), u""},
    };
    for (const Day& d : days)
        EXPECT_EQ(Holidays::nameOf(d.date), QString::fromUtf16(d.name))
            << d.date.toString(Qt::ISODate).toStdString();
}

TEST(Holidays, equinoxDays)
{
    // Year, 春分の日 in March, 秋分の日 in September, as announced in the official gazette.
    const int table[][3] = {{1979, 21, 24}, {1980, 20, 23}, {2000, 20, 23}, {2012, 20, 22}, {2016, 20, 22},
                            {2023, 21, 23}, {2024, 20, 22}, {2025, 20, 23}, {2026, 20, 23}, {2027, 21, 23}};
    for (const auto& [year, march, september] : table) {
        EXPECT_EQ(Holidays::vernalEquinoxDay(year), march) << year;
        EXPECT_EQ(Holidays::autumnalEquinoxDay(year), september) << year;
    }
}

TEST(Holidays, everyYearIsOrderedAndConsistent)
{
    for (int year = Holidays::kFirstYear; year <= Holidays::kLastYear; ++year) {
        const QList<Holidays::Holiday> days = Holidays::ofYear(year);
        ASSERT_FALSE(days.isEmpty()) << year;
        quint32 masks[13] = {};
        for (qsizetype i = 0; i < days.size(); ++i) {
            const Holidays::Holiday& h = days[i];
            EXPECT_EQ(h.date.year(), year);
            EXPECT_FALSE(h.name.isEmpty());
            if (i > 0) {
                EXPECT_LT(days[i - 1].date, h.date) << year;
            }
            // A substitute follows a Sunday holiday, directly or through other holidays.
            if (h.name == u"振替休日"_s) {
                QDate back = h.date.addDays(-1);
                while (back.dayOfWeek() != Qt::Sunday && !Holidays::nameOf(back).isEmpty())
                    back = back.addDays(-1);
                EXPECT_EQ(back.dayOfWeek(), Qt::Sunday) << h.date.toString(Qt::ISODate).toStdString();
                EXPECT_FALSE(Holidays::nameOf(back).isEmpty()) << h.date.toString(Qt::ISODate).toStdString();
            }
            masks[h.date.month()] |= 1u << (h.date.day() - 1);
        }
        for (int month = 1; month <= 12; ++month)
            EXPECT_EQ(Holidays::monthMask(year, month), masks[month]) << year << '-' << month;
    }
    EXPECT_TRUE(Holidays::ofYear(Holidays::kFirstYear - 1).isEmpty());
    EXPECT_TRUE(Holidays::ofYear(Holidays::kLastYear + 1).isEmpty());
}

} // namespace
