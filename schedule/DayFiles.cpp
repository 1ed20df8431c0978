#include "schedule/DayFiles.h"

#include "schedule/DataFileNames.h"

namespace DayFiles {

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
    using DayFiles::joinPath;
    return {joinPath(dataFolder, DataFileNames::month(date)),
            joinPath(dataFolder, DataFileNames::diary(date)), joinPath(dataFolder, DataFileNames::plan(date)),
            joinPath(dataFolder, DataFileNames::anniv(date))};
}
