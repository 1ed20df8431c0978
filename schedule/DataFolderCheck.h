#pragma once

#include <QString>
#include <QStringList>

// What start-up makes of the data folder named in the settings. A folder that cannot serve (a
// Windows path from a settings file brought over, a folder that is gone, the empty mount folder
// of a disk not mounted, an empty value that would put the files into the current folder) is
// found before anything is read from it or written to it.
namespace DataFolderCheck {

enum class Finding { Usable, Empty, WindowsPath, Missing, BareMountPoint };

struct Result {
    Finding finding = Finding::Usable;
    // Usable: the folder to use. The stored text itself where it serves as it is; the settings
    // file's folder for a Windows path or an empty value when the day files lie there, as the
    // original program kept them beside itself; a relative text taken from the settings file's
    // folder, never from the current folder.
    QString folder;
};

// What the system says of mounts, as the text of /etc/fstab and of /proc/self/mountinfo.
struct Mounts {
    QString fstab;
    QString mountinfo;
    static Mounts system();
};

Result check(const QString& stored, const QString& settingsFolder, const Mounts& mounts);

// A drive letter ("C:\", "C:"), a network path ("\\server\share") or backslashes as separators.
bool isWindowsPath(const QString& path);
// True when the folder holds a file named as a day, month, ToDo or memo file.
bool holdsDataFiles(const QString& folder);
// An empty folder that is named as a place where disks are mounted (/etc/fstab, /media,
// /run/media, /mnt) while nothing is mounted on it.
bool isBareMountPoint(const QString& folder, const Mounts& mounts);

// What the user is told, naming the folder; `defaultFolder` is offered instead.
QString message(Finding finding, const QString& stored, const QString& defaultFolder);

} // namespace DataFolderCheck
