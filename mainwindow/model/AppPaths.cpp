#include "mainwindow/model/AppPaths.h"

#include "mainwindow/model/DayFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
QString withSeparator(const QString& folder)
{
    return folder.endsWith(u'/') ? folder : folder + u'/';
}
} // namespace

AppPaths AppPaths::derive(const QString& programFolder, const QString& configHome, const QString& dataHome)
{
    const QFileInfo folder(programFolder);
    if (folder.isDir() && folder.isWritable()) {
        const QString base = withSeparator(programFolder);
        return {base + QStringLiteral("QuavScheduler.ini"), base, false};
    }
    const QString config = DayFiles::joinPath(configHome, QStringLiteral("QuavScheduler"));
    const QString data = DayFiles::joinPath(dataHome, QStringLiteral("QuavScheduler"));
    QDir().mkpath(config);
    QDir().mkpath(data);
    return {DayFiles::joinPath(config, QStringLiteral("QuavScheduler.ini")), withSeparator(data), true};
}

AppPaths AppPaths::forProgram(const QString& programFolder)
{
    return derive(programFolder, QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation),
                  QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
}
