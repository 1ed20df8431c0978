#pragma once

#include <QDate>
#include <QString>

// Where the files of the data folder lie; their names come from DataFileNames.
namespace DayFiles {

// Files above these sizes are refused and left as they are: no page or month the program writes
// comes near them, and reading more would hold the window for seconds and take gigabytes.
inline constexpr qint64 kPageSizeLimit = qint64(64) << 20;
inline constexpr qint64 kMonthSizeLimit = qint64(16) << 20;

// The folder text and the name with exactly one separator between them, so a folder typed
// without a trailing separator never puts files beside it under a prefixed name.
QString joinPath(const QString& folder, const QString& name);

} // namespace DayFiles

// The date-dependent paths of one selected date.
struct DayFilePaths {
    QString month;
    QString diary;
    QString plan;
    QString anniv;

    static DayFilePaths forDate(const QString& dataFolder, QDate date);
};
