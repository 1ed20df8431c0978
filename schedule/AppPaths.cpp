#include "schedule/AppPaths.h"

#include "schedule/DayFiles.h"
#include "platform/FileReplace.h"
#include "resources/AppId.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
QString withSeparator(const QString& folder)
{
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

// A program under <prefix>/bin with its desktop entry in <prefix>/share was installed, even where
// the folder can be written (root, an install into ~/.local): settings never belong in bin/.
bool isInstalled(const QString& programFolder)
{
    const QString entry = QStringLiteral("../share/applications/" QUAV_APP_ID ".desktop");
    return QFileInfo(QDir(programFolder).filePath(entry)).isFile();
}
} // namespace

AppPaths AppPaths::derive(const QString& programFolder, const QString& configHome, const QString& dataHome)
{
    const QFileInfo folder(programFolder);
    if (folder.isDir() && folder.isWritable() && !isInstalled(programFolder)) {
        const QString base = withSeparator(programFolder);
        return {base + QStringLiteral("QuavScheduler.ini"), base, false};
    }
    const QString config = DayFiles::joinPath(configHome, QStringLiteral("QuavScheduler"));
    const QString data = DayFiles::joinPath(dataHome, QStringLiteral("QuavScheduler"));
    QDir().mkpath(config);
    // Other users of the machine have no business in the notes.
    FileReplace::makePrivateFolders(data);
    return {DayFiles::joinPath(config, QStringLiteral("QuavScheduler.ini")), withSeparator(data), true};
}

AppPaths AppPaths::forProgram(const QString& programFolder)
{
    return derive(programFolder, QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation),
                  QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
}
