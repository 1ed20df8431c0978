#include "platform/FolderProbe.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

FolderProbe::FolderProbe(const QString& folder)
{
    m_folder = QFile::encodeName(folder.isEmpty() ? QStringLiteral(".") : folder);
#ifdef Q_OS_UNIX
    m_fd = ::open(m_folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
#endif
    if (!m_folder.endsWith('/'))
        m_folder.append('/');
}

FolderProbe::~FolderProbe()
{
#ifdef Q_OS_UNIX
    if (m_fd >= 0)
        ::close(m_fd);
#endif
}

bool FolderProbe::exists(const char* name) const
{
#ifdef Q_OS_UNIX
    if (m_fd < 0)
        return false;
    struct stat info;
    return ::fstatat(m_fd, name, &info, 0) == 0;
#else
    return QFileInfo::exists(QFile::decodeName(m_folder + name));
#endif
}
