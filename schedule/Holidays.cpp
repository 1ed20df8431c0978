#include "schedule/Holidays.h"

#include <algorithm>

namespace Holidays {

namespace {

// The law took effect on 20 July 1948; the days before it were no holidays under it.
const QDate kLawInForce(1948, 7, 20);
// Substitute holidays came with the amendment in force from 12 April 1973, the citizens'
// holiday with the one of 27 December 1985; the 2005 amendment changed both from 2007.
const QDate kSubstituteFrom(1973, 4, 12);
const QDate kCitizensFrom(1985, 12, 27);
const QDate kNewRulesFrom(2007, 1, 1);

QDate nthMonday(int year, int month, int n)
{
    const QDate first(year, month, 1);
    const int toMonday = (Qt::Monday - first.dayOfWeek() + 7) % 7;
    return first.addDays(toMonday + 7 * (n - 1));
}

struct Fixed {
    int month;
    int day;
    int from;
    int to;
    const char16_t* name;
};

// Days on a fixed date, with the years they applied.
constexpr Fixed kFixed[] = {
    {1, 1, 1949, kLastYear, u"元日"},
    {1, 15, 1949, 1999, u"成人の日"},
    {2, 11, 1967, kLastYear, u"建国記念の日"},
    {2, 23, 2020, kLastYear, u"天皇誕生日"},
    {4, 29, 1949, 1988, u"天皇誕生日"},
    {4, 29, 1989, 2006, u"みどりの日"},
    {4, 29, 2007, kLastYear, u"昭和の日"},
    {5, 3, 1949, kLastYear, u"憲法記念日"},
    {5, 4, 2007, kLastYear, u"みどりの日"},
    {5, 5, 1949, kLastYear, u"こどもの日"},
    {7, 20, 1996, 2002, u"海の日"},
    {8, 11, 2016, kLastYear, u"山の日"},
    {9, 15, 1966, 2002, u"敬老の日"},
    {10, 10, 1966, 1999, u"体育の日"},
    {11, 3, 1948, kLastYear, u"文化の日"},
    {11, 23, 1948, kLastYear, u"勤労感謝の日"},
    {12, 23, 1989, 2018, u"天皇誕生日"},
};

struct Monday {
    int month;
    int week;
    int from;
    int to;
    const char16_t* name;
};

constexpr Monday kMondays[] = {
    {1, 2, 2000, kLastYear, u"成人の日"},      {7, 3, 2003, kLastYear, u"海の日"},
    {9, 3, 2003, kLastYear, u"敬老の日"},      {10, 2, 2000, 2019, u"体育の日"},
    {10, 2, 2020, kLastYear, u"スポーツの日"},
};

struct OneTime {
    int year;
    int month;
    int day;
    const char16_t* name;
};

// Days set by laws of their own, and the days the Olympic years moved; all count as national
// holidays for the substitute and citizens' rules.
constexpr OneTime kOneTime[] = {
    {1959, 4, 10, u"皇太子明仁親王の結婚の儀"},
    {1989, 2, 24, u"昭和天皇の大喪の礼"},
    {1990, 11, 12, u"即位礼正殿の儀"},
    {1993, 6, 9, u"皇太子徳仁親王の結婚の儀"},
    {2019, 5, 1, u"天皇の即位の日"},
    {2019, 10, 22, u"即位礼正殿の儀"},
    {2020, 7, 23, u"海の日"},
    {2020, 7, 24, u"スポーツの日"},
    {2020, 8, 10, u"山の日"},
    {2021, 7, 22, u"海の日"},
    {2021, 7, 23, u"スポーツの日"},
    {2021, 8, 8, u"山の日"},
};

// The Olympic years moved these three days; their usual dates are no holidays then.
bool movedAway(int year, int month)
{
    return (year == 2020 || year == 2021) && (month == 7 || month == 8 || month == 10);
}

bool contains(const QList<Holiday>& list, QDate date)
{
    return std::any_of(list.begin(), list.end(), [&](const Holiday& h) { return h.date == date; });
}

// The national holidays proper, before the substitute and citizens' rules.
QList<Holiday> nationalHolidays(int year)
{
    QList<Holiday> days;
    const auto add = [&](QDate date, const char16_t* name) {
        if (date >= kLawInForce)
            days.append({date, QString::fromUtf16(name)});
    };
    for (const Fixed& f : kFixed) {
        if (year >= f.from && year <= f.to && !movedAway(year, f.month))
            add(QDate(year, f.month, f.day), f.name);
    }
    for (const Monday& m : kMondays) {
        if (year >= m.from && year <= m.to && !movedAway(year, m.month))
            add(nthMonday(year, m.month, m.week), m.name);
    }
    for (const OneTime& o : kOneTime) {
        if (o.year == year)
            add(QDate(year, o.month, o.day), o.name);
    }
    add(QDate(year, 3, vernalEquinoxDay(year)), u"春分の日");
    add(QDate(year, 9, autumnalEquinoxDay(year)), u"秋分の日");
    std::sort(days.begin(), days.end(), [](const Holiday& a, const Holiday& b) { return a.date < b.date; });
    return days;
}

int equinoxDay(int year, double before1980, double until2099, double after2099)
{
    const double base = year < 1980 ? before1980 : year <= 2099 ? until2099 : after2099;
    // Before 1980 the leap-year term counts from 1983 so that the truncation stays right.
    const int leaps = year < 1980 ? (year - 1983) / 4 : (year - 1980) / 4;
    return int(base + 0.242194 * (year - 1980) - leaps);
}

} // namespace

int vernalEquinoxDay(int year)
{
    return equinoxDay(year, 20.8357, 20.8431, 21.8510);
}

int autumnalEquinoxDay(int year)
{
    return equinoxDay(year, 23.2588, 23.2488, 24.2488);
}

QList<Holiday> ofYear(int year)
{
    if (year < kFirstYear || year > kLastYear)
        return {};
    const QList<Holiday> national = nationalHolidays(year);
    QList<Holiday> days = national;

    QList<QDate> substitutes;
    for (const Holiday& h : national) {
        if (h.date.dayOfWeek() != Qt::Sunday || h.date < kSubstituteFrom)
            continue;
        QDate next = h.date.addDays(1);
        // Since 2007 the substitute is the next day that is no national holiday.
        if (h.date >= kNewRulesFrom) {
            while (contains(national, next))
                next = next.addDays(1);
        }
        if (!contains(national, next) && next.year() == year && !substitutes.contains(next)) {
            substitutes.append(next);
            days.append({next, QStringLiteral("振替休日")});
        }
    }

    // A day between two national holidays; before 2007 not a Sunday nor a substitute holiday.
    for (const Holiday& h : national) {
        const QDate between = h.date.addDays(1);
        if (between < kCitizensFrom || !contains(national, between.addDays(1)) || contains(national, between))
            continue;
        if (substitutes.contains(between))
            continue;
        if (between < kNewRulesFrom && between.dayOfWeek() == Qt::Sunday)
            continue;
        days.append({between, QStringLiteral("国民の休日")});
    }

    std::sort(days.begin(), days.end(), [](const Holiday& a, const Holiday& b) { return a.date < b.date; });
    return days;
}

QString nameOf(QDate date)
{
    if (!date.isValid())
        return {};
    // Cells are drawn a month at a time: keep the last year asked for.
    thread_local int cachedYear = 0;
    thread_local QList<Holiday> cached;
    if (cachedYear != date.year()) {
        cached = ofYear(date.year());
        cachedYear = date.year();
    }
    for (const Holiday& h : cached) {
        if (h.date == date)
            return h.name;
    }
    return {};
}

quint32 monthMask(int year, int month)
{
    quint32 mask = 0;
    for (const Holiday& h : ofYear(year)) {
        if (h.date.month() == month)
            mask |= 1u << (h.date.day() - 1);
    }
    return mask;
}

} // namespace Holidays
