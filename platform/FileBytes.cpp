#include "platform/FileBytes.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FileBytes {

namespace {

// Reads to the end. For a regular file of known size, a short read that brings exactly that size
// is its end, so the usual second call that returns nothing is spared.
bool readAll(int fd, QByteArray& out, qsizetype knownSize)
{
    qsizetype size = 0;
    out.resize(knownSize >= 0 ? knownSize + 1 : 16384);
    for (;;) {
        if (out.size() == size)
            out.resize(size + std::max<qsizetype>(16384, size / 2));
        const qsizetype asked = out.size() - size;
        const ssize_t n = ::read(fd, out.data() + size, size_t(asked));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            out.resize(0);
            return false;
        }
        size += n;
        if (n == 0 || (n < asked && size == knownSize))
            break;
    }
    out.resize(size);
    return true;
}

void fill(const struct stat& st, Facts& facts)
{
    facts.size = st.st_size;
    facts.mtimeMs = qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000;
    facts.ctimeNs = qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    facts.inode = st.st_ino;
}

} // namespace

bool read(const QByteArray& nativePath, QByteArray& out)
{
    const int fd = ::open(nativePath.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = readAll(fd, out, -1);
    ::close(fd);
    return ok;
}

Outcome readWithFacts(const QByteArray& nativePath, QByteArray& out, Facts& facts)
{
    out.resize(0);
    // Not following a link first tells "no file" from "a link to nowhere" in one call; a link, the
    // rare case, is opened again through.
    int fd = ::open(nativePath.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0 && errno == ENOENT)
        return Outcome::Missing;
    if (fd < 0 && errno == ELOOP)
        fd = ::open(nativePath.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return Outcome::Failed;
    struct stat st;
    bool ok = ::fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode);
    if (ok) {
        fill(st, facts);
        ok = readAll(fd, out, S_ISREG(st.st_mode) ? qsizetype(st.st_size) : -1);
    }
    ::close(fd);
    return ok ? Outcome::Read : Outcome::Failed;
}

Outcome factsOf(const QByteArray& nativePath, Facts& facts)
{
    struct stat st;
    if (::stat(nativePath.constData(), &st) != 0)
        return errno == ENOENT ? Outcome::Missing : Outcome::Failed;
    if (S_ISDIR(st.st_mode))
        return Outcome::Failed;
    fill(st, facts);
    return Outcome::Read;
}

} // namespace FileBytes
