#include "print/model/PeriodDays.h"

#include "schedule/DataFileNames.h"
#include "schedule/DayFiles.h"
#include "schedule/DayTexts.h"
#include "schedule/Holidays.h"
#include "schedule/PageFile.h"

#include <QDir>
#include <QSet>

#include <algorithm>

namespace PeriodDays {

QString heading(QDate date)
{
    QString text = DayTexts::statusDate(date) + u'(' + DayTexts::weekdayName(date) + u')';
    const QString holiday = Holidays::nameOf(date);
    if (!holiday.isEmpty())
        text += u' ' + holiday;
    return text;
}

QString printedText(const QString& text)
{
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out.replace(u'\r', u'\n');
    qsizetype end = out.size();
    while (end > 0 && out.at(end - 1).isSpace())
        --end;
    out.truncate(end);
    // Leading blank lines are kept: only a text of blanks alone is empty.
    return out;
}

namespace {

// Month and day of an anniversary file, as a key that ignores the year.
int monthDayKey(int month, int day)
{
    return month * 100 + day;
}

} // namespace

QString text(const QString& folder, const QString& name, const ScreenTexts& screen)
{
    const auto shown = screen.constFind(name);
    if (shown != screen.constEnd())
        return printedText(*shown);
    const PageFile::Loaded loaded = PageFile::load(DayFiles::joinPath(folder, name));
    if (loaded.state != PageFile::Loaded::State::Read)
        return {};
    return printedText(loaded.text);
}

QList<QDate> candidates(const QString& folder, QDate from, QDate to, const ScreenTexts& screen)
{
    if (!from.isValid() || !to.isValid() || from > to)
        return {};
    QSet<QDate> days;
    QSet<int> anniversaries;
    auto note = [&](const DataFileNames::Parsed& parsed) {
        switch (parsed.kind) {
        case DataFileNames::Kind::Diary:
        case DataFileNames::Kind::Plan:
            if (parsed.date >= from && parsed.date <= to)
                days.insert(parsed.date);
            break;
        case DataFileNames::Kind::Anniv:
            anniversaries.insert(monthDayKey(parsed.date.month(), parsed.date.day()));
            break;
        default:
            break;
        }
    };
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        if (const auto parsed = DataFileNames::parse(QStringView(name)))
            note(*parsed);
    }
    for (auto it = screen.constBegin(); it != screen.constEnd(); ++it) {
        if (const auto parsed = DataFileNames::parse(QStringView(it.key())))
            note(*parsed);
    }
    if (!anniversaries.isEmpty()) {
        // An anniversary comes back every year; 29 February only in leap years, as on screen.
        for (int year = from.year(); year <= to.year(); ++year) {
            for (int key : std::as_const(anniversaries)) {
                const QDate day(year, key / 100, key % 100);
                if (day.isValid() && day >= from && day <= to)
                    days.insert(day);
            }
        }
    }
    QList<QDate> sorted(days.begin(), days.end());
    std::sort(sorted.begin(), sorted.end());
    return sorted;
}

Day read(const QString& folder, QDate date, const ScreenTexts& screen)
{
    Day day;
    day.date = date;
    day.plan = text(folder, DataFileNames::plan(date), screen);
    day.diary = text(folder, DataFileNames::diary(date), screen);
    day.anniv = text(folder, DataFileNames::anniv(date), screen);
    return day;
}

bool hasText(const Day& day)
{
    return !day.plan.isEmpty() || !day.diary.isEmpty() || !day.anniv.isEmpty();
}

QList<Day> collect(const QString& folder, QDate from, QDate to, const ScreenTexts& screen,
                   const std::function<bool(qsizetype, qsizetype)>& goOn)
{
    const QList<QDate> dates = candidates(folder, from, to, screen);
    QList<Day> days;
    for (qsizetype i = 0; i < dates.size(); ++i) {
        if (goOn && (i % 64) == 0 && !goOn(i, dates.size()))
            return {};
        Day day = read(folder, dates[i], screen);
        if (hasText(day))
            days.append(std::move(day));
    }
    if (goOn && !goOn(dates.size(), dates.size()))
        return {};
    return days;
}

} // namespace PeriodDays
