#include "mainwindow/model/BoldDays.h"

#include "platform/FolderProbe.h"

namespace BoldDays {

namespace {
void putDigits(char* at, int value, int width)
{
    for (int i = width - 1; i >= 0; --i, value /= 10)
        at[i] = char('0' + value % 10);
}

// The three names of each day differ only in their digits: fill them in place.
bool markedIn(const FolderProbe& folder, QDate date)
{
    char anniv[] = "Anniv0000.txt";
    char diary[] = "Sch00000000.txt";
    putDigits(anniv + 5, date.month() * 100 + date.day(), 4);
    putDigits(diary + 3, date.year() * 10000 + date.month() * 100 + date.day(), 8);
    return folder.exists(anniv) || folder.exists(diary + 3) || folder.exists(diary);
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
