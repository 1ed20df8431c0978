#pragma once

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>

#include <functional>

// The days of a period that have a diary, plan or anniversary text, read from the data folder
// with the texts on screen winning over their files.
namespace PeriodDays {

// Texts shown in the window and not necessarily saved, by data file name (20010203.txt,
// Sch20010203.txt, Anniv0203.txt, ToDo.txt, Memo.txt). An empty text stands for an emptied page.
using ScreenTexts = QHash<QString, QString>;

struct Day {
    QDate date;
    QString plan; // line breaks as LF, none at the end
    QString diary;
    QString anniv;
    friend bool operator==(const Day&, const Day&) = default;
};

// 2001年02月11日(日) 建国記念の日: the date, its weekday and the holiday's name if any.
QString heading(QDate date);

// The days from `from` to `to` (both included) that may have text: those whose diary, plan or
// anniversary file lies in the folder, and the ones the screen has a text for. In date order.
QList<QDate> candidates(const QString& folder, QDate from, QDate to, const ScreenTexts& screen);

// The day's texts; none of them empty when the day has any text. A file that cannot be read
// counts as empty.
Day read(const QString& folder, QDate date, const ScreenTexts& screen);
bool hasText(const Day& day);
// The printed text of one page file: the screen's if it shows that file, else the file's.
QString text(const QString& folder, const QString& name, const ScreenTexts& screen);

// Every day of the period with text. `goOn(done, total)` is asked as days are read; false stops
// the reading and the result is then empty.
QList<Day> collect(const QString& folder, QDate from, QDate to, const ScreenTexts& screen,
                   const std::function<bool(qsizetype, qsizetype)>& goOn = {});

// A page's text as printed: line breaks as LF and trailing blank lines dropped; a text of
// blanks alone is no text.
QString printedText(const QString& text);

} // namespace PeriodDays
