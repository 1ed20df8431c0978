#pragma once

#include <QDate>
#include <QString>
#include <QStringView>

#include <optional>
#include <string_view>

// Names of the files in the data folder, built and read back here and nowhere else. Dates are
// always yyyymmdd with leading zeros, never taken from the user's locale.
namespace DataFileNames {

// In the order of the page tabs, the month file last.
enum class Kind { ToDo, Memo, Plan, Diary, Anniv, Month };

inline const QString kToDo = QStringLiteral("ToDo.txt");
inline const QString kMemo = QStringLiteral("Memo.txt");
// The external editor's work file; no page of its own, so never parsed as one.
inline const QString kWork = QStringLiteral("~QuavSchedulerWork.txt");

QString month(QDate date); // 200102.csv
QString diary(QDate date); // 20010203.txt
QString plan(QDate date);  // Sch20010203.txt
QString anniv(QDate date); // Anniv0203.txt, the same in every year
// The file of `kind` for `date`; the date is not looked at for ToDo and メモ.
QString of(Kind kind, QDate date);

// The three names that make a day bold, as file-system bytes built in place: the calendar asks
// for a whole month at every date change, and allocating 90 strings would cost more than the
// look-ups. For years 0 to 9999.
struct DayNames {
    explicit DayNames(QDate date);
    const char* diary() const { return plan + 3; }
    char anniv[14] = "Anniv0000.txt";
    char plan[16] = "Sch00000000.txt";
};

struct Parsed {
    Kind kind = Kind::ToDo;
    // The day of a plan or diary; the first day of a month file's month; an anniversary's month
    // and day in the leap year 2000; none for ToDo and メモ.
    QDate date;
    friend bool operator==(const Parsed&, const Parsed&) = default;
};

// What a name built above stands for; nothing for any other name, including one in another
// case, with other digits than ASCII ones, or for a day no calendar has.
std::optional<Parsed> parse(QStringView name);
// The same for a name as the file system gives it; bytes outside ASCII are never ours.
std::optional<Parsed> parse(std::string_view name);

// The shape of a data file's name, case ignored and digits not read as a date: enough to tell a
// folder that holds day files, such as one brought over from a system that ignores case.
bool looksLikeDataFile(QStringView name);

// The day an anniversary of month and day falls on in `year`: 29 February in the leap year at
// or before it. Invalid for a month and day no year has.
QDate anniversary(int year, int month, int day);

} // namespace DataFileNames
