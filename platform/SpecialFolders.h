#pragma once

#include <QList>
#include <QString>

#include <optional>

// The shell's special folders as this platform has them. The desktop is the root of the browse
// tree: it holds the home folder, the desktop folder and the computer, whose entries are the
// file system's root and its mounted volumes.
namespace SpecialFolders {

// In the order of the folder picker's enumerations, after the desktop and the manual kind.
enum class Kind {
    Desktop,
    Drives,
    DesktopDir,
    Favorites,
    Programs,
    Recent,
    SendTo,
    StartMenu,
    Startup,
    Templates
};

// A folder of the browse tree: `path` is empty for the two folders outside the file system.
struct Folder {
    Kind kind = Kind::Desktop;
    QString path;
};

// The folder of a kind, or none when this platform has no such folder or it does not exist.
std::optional<Folder> locate(Kind kind);

// A mounted volume of the computer entry.
struct Volume {
    QString rootPath;
    QString displayName;
};
// The file system's root first, then the other mounted volumes a user keeps files on.
QList<Volume> volumes();

// A folder named in $XDG_CONFIG_HOME/user-dirs.dirs ("XDG_TEMPLATES_DIR", ...), $HOME expanded;
// empty when the file does not name it.
QString userDir(const QString& key);

} // namespace SpecialFolders
