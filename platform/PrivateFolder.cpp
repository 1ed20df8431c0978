#include "platform/PrivateFolder.h"

#include <QDir>
#include <QFile>

#ifndef Q_OS_WIN
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace PrivateFolder {

bool isPrivate(const QString& path, bool tighten)
{
#ifdef Q_OS_WIN
    Q_UNUSED(tighten);
    return QFileInfo(path).isDir();
#else
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (::lstat(native.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid())
        return false;
    // Whatever others could have put inside while they could write here is not to be trusted.
    if (st.st_mode & (S_IWGRP | S_IWOTH))
        return false;
    if ((st.st_mode & 077) == 0)
        return true;
    return tighten && ::chmod(native.constData(), 0700) == 0;
#endif
}

QString ensure(const QString& path)
{
    if (path.isEmpty() || !QDir::isAbsolutePath(path))
        return {};
    const QString clean = QDir::cleanPath(path);
#ifndef Q_OS_WIN
    QFileInfo info(clean);
    if (!info.exists() && !info.isSymLink()) {
        // Parents as the user's umask gives them; the folder itself for this user alone.
        const QString parent = info.path();
        if (!QDir().mkpath(parent))
            return {};
        if (::mkdir(QFile::encodeName(clean).constData(), 0700) != 0 && errno != EEXIST)
            return {};
    }
#endif
    return isPrivate(clean, true) ? clean : QString();
}

QString choose(const QString& runtimeDir, const QStringList& fallbacks)
{
    // The runtime folder is the system's: checked, never changed.
    if (!runtimeDir.isEmpty() && QDir::isAbsolutePath(runtimeDir) && isPrivate(runtimeDir))
        return QDir::cleanPath(runtimeDir);
    for (const QString& folder : fallbacks) {
        const QString made = ensure(folder);
        if (!made.isEmpty())
            return made;
    }
    return {};
}

} // namespace PrivateFolder
