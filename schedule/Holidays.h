#pragma once

#include <QDate>
#include <QList>
#include <QString>

// Japan's national holidays by the law on national holidays and its amendments, with the
// substitute holidays and the citizens' holidays it adds, and the one-time days set by their
// own laws. Years outside the supported range have none.
namespace Holidays {

constexpr int kFirstYear = 1948;
constexpr int kLastYear = 2150;

struct Holiday {
    QDate date;
    QString name;
    friend bool operator==(const Holiday&, const Holiday&) = default;
};

// Every holiday of the year in date order.
QList<Holiday> ofYear(int year);

// The holiday's official name, or an empty text on any other day.
QString nameOf(QDate date);

// Bit d-1 set for every holiday d of the month.
quint32 monthMask(int year, int month);

// The day of March and of September of the equinox, by the usual astronomical approximation.
int vernalEquinoxDay(int year);
int autumnalEquinoxDay(int year);

} // namespace Holidays
