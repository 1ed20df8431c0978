#pragma once

#include <QDate>
#include <QString>

// Days of a month that have a diary, plan or anniversary file: bit d-1 set for day d.
namespace BoldDays {

quint32 forMonth(const QString& dataFolder, int year, int month);
bool isMarked(const QString& dataFolder, QDate date);

} // namespace BoldDays
