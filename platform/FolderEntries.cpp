#include "platform/FolderEntries.h"

#include <QFile>

#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace FolderEntries {

namespace {

Kind kindOf(int folder, const char* name, unsigned char type)
{
    switch (type) {
    case DT_REG:
        return Kind::File;
    case DT_LNK:
        return Kind::Link;
    case DT_DIR:
        return Kind::Folder;
    case DT_UNKNOWN:
        break; // some file systems leave it to a look at the entry
    default:
        return Kind::Other;
    }
    struct stat st {};
    if (fstatat(folder, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return Kind::Other;
    if (S_ISREG(st.st_mode))
        return Kind::File;
    if (S_ISLNK(st.st_mode))
        return Kind::Link;
    return S_ISDIR(st.st_mode) ? Kind::Folder : Kind::Other;
}

} // namespace

bool visit(const QString& folder, const std::function<void(std::string_view name, Kind kind)>& each)
{
    DIR* dir = opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return false;
    const int fd = dirfd(dir);
    while (const dirent* entry = readdir(dir)) {
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;
        each(std::string_view(name), kindOf(fd, name, entry->d_type));
    }
    closedir(dir);
    return true;
}

QString decoded(std::string_view name)
{
    return QFile::decodeName(QByteArray(name.data(), qsizetype(name.size())));
}

} // namespace FolderEntries
