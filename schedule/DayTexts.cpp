#include "schedule/DayTexts.h"

namespace DayTexts {

QString weekdayName(QDate date)
{
    static const char16_t names[] = u"月火水木金土日"; // QDate counts Monday as 1
    return QString(QChar(names[date.dayOfWeek() - 1]));
}

QString dayCaption(QDate date)
{
    return QString::number(date.day()) + QStringLiteral("日(") + weekdayName(date) + u')';
}

QString monthLabel(int year, int month)
{
    return u' ' + QString::number(year) + QStringLiteral("年 ") + QString::number(month) + u'月';
}

QString statusDate(QDate date)
{
    return QStringLiteral("%1年%2月%3日")
        .arg(date.year(), 4, 10, QLatin1Char('0'))
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.day(), 2, 10, QLatin1Char('0'));
}

} // namespace DayTexts
