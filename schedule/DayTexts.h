#pragma once

#include <QDate>
#include <QString>

// Texts the window shows for a date, in the Japanese forms whatever the system locale is.
namespace DayTexts {

// 3日(土)
QString dayCaption(QDate date);
// The one-character weekday name, 日 for Sunday to 土 for Saturday.
QString weekdayName(QDate date);
// " 2001年 2月"
QString monthLabel(int year, int month);
// 2001年02月03日
QString statusDate(QDate date);

} // namespace DayTexts
