#include "schedule/BoldDays.h"

#include "schedule/DataFileNames.h"
#include "platform/FolderProbe.h"

namespace BoldDays {

namespace {
bool markedIn(const FolderProbe& folder, QDate date)
{
    const DataFileNames::DayNames names(date);
    return folder.exists(names.anniv) || folder.exists(names.diary()) || folder.exists(names.plan);
}
} // namespace

bool isMarked(const QString& dataFolder, QDate date)
{
    if (date.year() < 0 || date.year() > 9999)
        return false;
    return markedIn(FolderProbe(dataFolder), date);
}

quint32 forMonth(const QString& dataFolder, int year, int month)
{
    if (year < 0 || year > 9999)
        return 0;
    const FolderProbe folder(dataFolder);
    quint32 marked = 0;
    const int days = QDate(year, month, 1).daysInMonth();
    for (int d = 1; d <= days; ++d) {
        if (markedIn(folder, QDate(year, month, d)))
            marked |= 1u << (d - 1);
    }
    return marked;
}

} // namespace BoldDays
