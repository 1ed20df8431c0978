#include "mainwindow/model/BoldDays.h"

#include "mainwindow/model/DayFiles.h"

#include <QDate>
#include <QFileInfo>

namespace BoldDays {

bool isMarked(const QString& dataFolder, QDate date)
{
    return QFileInfo::exists(DayFiles::joinPath(dataFolder, DayFiles::annivFileName(date))) ||
           QFileInfo::exists(DayFiles::joinPath(dataFolder, DayFiles::diaryFileName(date))) ||
           QFileInfo::exists(DayFiles::joinPath(dataFolder, DayFiles::planFileName(date)));
}

quint32 forMonth(const QString& dataFolder, int year, int month)
{
    quint32 marked = 0;
    const int days = QDate(year, month, 1).daysInMonth();
    for (int d = 1; d <= days; ++d) {
        if (isMarked(dataFolder, QDate(year, month, d)))
            marked |= 1u << (d - 1);
    }
    return marked;
}

} // namespace BoldDays
