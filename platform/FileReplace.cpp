#include "platform/FileReplace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FileReplace {

namespace {

// Hidden, and marked so plainly that no file of the user's is ever taken for one of ours.
const QString kPrefix = QStringLiteral(".");
const QString kMark = QStringLiteral(".quav-");
constexpr int kUniqueLength = 6;

bool isUniqueChar(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z');
}

QString randomUnique()
{
    static const char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString out(kUniqueLength, Qt::Uninitialized);
    for (QChar& c : out)
        c = QLatin1Char(kChars[QRandomGenerator::global()->bounded(int(sizeof kChars - 1))]);
    return out;
}

// The file a path stands for once links are followed; the path itself when it is no link.
QString finalPath(const QString& path)
{
    QString at = path;
    for (int depth = 0; depth < 40; ++depth) {
        const QFileInfo info(at);
        if (!info.isSymLink())
            return at;
        at = info.symLinkTarget();
    }
    return path; // a loop: writing over the link itself fails as any loop does
}

bool writeAll(int fd, QByteArrayView bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        done += n;
    }
    return true;
}

// The rename is only lasting once the folder is on the disk; a file system that cannot sync a
// folder has written it already.
void syncFolder(const QByteArray& folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

QString temporaryName(QStringView fileName, QStringView unique)
{
    return kPrefix + fileName.toString() + kMark + unique.toString();
}

QString fileOfTemporary(QStringView name)
{
    const qsizetype markAt = name.size() - kUniqueLength - kMark.size();
    if (markAt <= kPrefix.size() || !name.startsWith(kPrefix) || name.mid(markAt, kMark.size()) != kMark)
        return {};
    for (QChar c : name.last(kUniqueLength))
        if (!isUniqueChar(c))
            return {};
    return name.mid(kPrefix.size(), markAt - kPrefix.size()).toString();
}

QString fileOfEarlierTemporary(QStringView name)
{
    const qsizetype dotAt = name.size() - kUniqueLength - 1;
    if (dotAt <= 0 || name.at(dotAt) != u'.' || name.startsWith(u'.'))
        return {};
    const QStringView unique = name.last(kUniqueLength);
    int lower = 0;
    int upper = 0;
    int digits = 0;
    for (QChar c : unique) {
        if (!isUniqueChar(c))
            return {};
        const char16_t u = c.unicode();
        lower += u >= u'a' && u <= u'z';
        upper += u >= u'A' && u <= u'Z';
        digits += u >= u'0' && u <= u'9';
    }
    const bool oneKind = lower == kUniqueLength || upper == kUniqueLength || digits == kUniqueLength;
    const bool capitalised = upper == 1 && lower == kUniqueLength - 1 && unique.front().isUpper();
    if (oneKind || capitalised)
        return {};
    return name.first(dotAt).toString();
}

bool replace(const QString& path, QByteArrayView bytes, Access access)
{
    return replace(path, std::initializer_list<QByteArrayView>{bytes}, access);
}

bool replace(const QString& path, std::initializer_list<QByteArrayView> parts, Access access)
{
    const QString target = finalPath(path);
    const QByteArray native = QFile::encodeName(target);
    mode_t mode = 0600;
    struct stat st;
    if (::stat(native.constData(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) {
            errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
            return false;
        }
        if (access == Access::KeepOrPrivate)
            mode = st.st_mode & 07777;
    } else if (errno != ENOENT) {
        return false;
    }

    const QFileInfo info(target);
    const QString folder = info.path();
    QByteArray temp;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temp = QFile::encodeName(folder + u'/' + temporaryName(info.fileName(), randomUnique()));
        fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;
    // fchmod, not the creation mode, so the umask cannot narrow the mode the file had.
    // A sync that fails is a write that failed: the disk may not hold the bytes.
    bool ok =
        std::all_of(parts.begin(), parts.end(), [fd](QByteArrayView part) { return writeAll(fd, part); }) &&
        ::fchmod(fd, mode) == 0 && ::fdatasync(fd) == 0;
    int failure = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        failure = errno;
    }
    if (ok && ::rename(temp.constData(), native.constData()) == 0) {
        syncFolder(QFile::encodeName(folder));
        return true;
    }
    if (ok)
        failure = errno;
    ::unlink(temp.constData());
    errno = failure;
    return false;
}

bool makePrivateFolders(const QString& path)
{
    const QString clean =
        QDir::cleanPath(QDir::isAbsolutePath(path) ? path : QDir::current().absoluteFilePath(path));
    qsizetype from = 1;
    for (;;) {
        const qsizetype slash = clean.indexOf(u'/', from);
        const QString part = slash < 0 ? clean : clean.left(slash);
        if (::mkdir(QFile::encodeName(part).constData(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash < 0)
            break;
        from = slash + 1;
    }
    return QFileInfo(clean).isDir();
}

bool makeFolderPrivate(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat st;
    if (::stat(native.constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return false;
    return (st.st_mode & 077) == 0 || ::chmod(native.constData(), st.st_mode & 07700) == 0;
}

} // namespace FileReplace
