#include "mainwindow/model/DayFiles.h"

namespace DayFiles {

namespace {
QString digits(int value, int width)
{
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}
} // namespace

QString monthFileName(QDate date)
{
    return digits(date.year(), 4) + digits(date.month(), 2) + QStringLiteral(".csv");
}

QString diaryFileName(QDate date)
{
    return digits(date.year(), 4) + digits(date.month(), 2) + digits(date.day(), 2) + QStringLiteral(".txt");
}

QString planFileName(QDate date)
{
    return QStringLiteral("Sch") + diaryFileName(date);
}

QString annivFileName(QDate date)
{
    return QStringLiteral("Anniv") + digits(date.month(), 2) + digits(date.day(), 2) + QStringLiteral(".txt");
}

QString joinPath(const QString& folder, const QString& name)
{
    if (folder.isEmpty())
        return name;
#ifdef Q_OS_WIN
    const bool hasSeparator = folder.endsWith(u'/') || folder.endsWith(u'\\');
#else
    const bool hasSeparator = folder.endsWith(u'/');
#endif
    return hasSeparator ? folder + name : folder + u'/' + name;
}

} // namespace DayFiles

DayFilePaths DayFilePaths::forDate(const QString& dataFolder, QDate date)
{
    using namespace DayFiles;
    return {joinPath(dataFolder, monthFileName(date)), joinPath(dataFolder, diaryFileName(date)),
            joinPath(dataFolder, planFileName(date)), joinPath(dataFolder, annivFileName(date))};
}
