#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <initializer_list>

// Replacing a file whole, so that a crash or a full disk leaves either the old file or the new
// one, never a mix; and the private folders the program makes for itself.
namespace FileReplace {

enum class Access {
    KeepOrPrivate, // a replaced file keeps its mode; a new one is 0600
    Private,       // always 0600, whatever the replaced file allowed
};

// Writes the bytes to a temporary beside the file, waits for the disk, then renames it over the
// file. A link is replaced at its target, so a file kept elsewhere through a link stays there.
// Anything but a regular file (a folder, a device, a pipe) is never written over. False, with
// errno set, when the file is as it was.
bool replace(const QString& path, QByteArrayView bytes, Access access = Access::KeepOrPrivate);
// The same for a file of several parts, one after the other, so a large one is never joined in
// memory first.
bool replace(const QString& path, std::initializer_list<QByteArrayView> parts,
             Access access = Access::KeepOrPrivate);

// The name of the temporary replace() writes for a file name, and back: the file name a
// temporary stands for, empty for any name replace() never makes.
QString temporaryName(QStringView fileName, QStringView unique);
QString fileOfTemporary(QStringView name);
// The same for the visible `name.XXXXXX` temporaries earlier versions wrote. A suffix a person
// types (backup, Backup, BACKUP, 202612) is never taken for one; a rare real one left for that
// stays in the folder, which loses nothing.
QString fileOfEarlierTemporary(QStringView name);

// Creates the folder and any missing folders above it as 0700; an existing one is left as it is.
bool makePrivateFolders(const QString& path);
// Takes access away from everyone but the owner of an existing folder.
bool makeFolderPrivate(const QString& path);

} // namespace FileReplace
