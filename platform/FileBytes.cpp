#include "platform/FileBytes.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FileBytes {

namespace {

// Reads to the end, at most `limit` bytes. A short read that brings exactly the size fstat gave
// is the end, so the usual second call that returns nothing is spared.
bool readAll(int fd, QByteArray& out, qsizetype knownSize, qint64 limit, Refusal& why)
{
    qsizetype size = 0;
    out.resize(knownSize + 1);
    for (;;) {
        if (out.size() == size) {
            // A file that grows past the limit while it is read is refused as well.
            if (size > limit) {
                out.resize(0);
                why = Refusal::TooLarge;
                return false;
            }
            out.resize(size + std::max<qsizetype>(16384, size / 2));
        }
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
    if (size > limit) {
        out.resize(0);
        why = Refusal::TooLarge;
        return false;
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

// Opening never waits: a pipe without a writer opens at once, a device without a carrier too.
int openForReading(const QByteArray& nativePath, int extra)
{
    return ::open(nativePath.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | extra);
}

Outcome readOpened(int fd, QByteArray& out, Facts* facts, qint64 limit, Refusal& why)
{
    struct stat st;
    bool ok = ::fstat(fd, &st) == 0;
    if (ok && !S_ISREG(st.st_mode)) {
        why = Refusal::NotRegular;
        ok = false;
    } else if (ok && st.st_size > limit) {
        why = Refusal::TooLarge;
        ok = false;
    }
    if (ok) {
        if (facts)
            fill(st, *facts);
        ok = readAll(fd, out, qsizetype(st.st_size), limit, why);
    }
    ::close(fd);
    return ok ? Outcome::Read : Outcome::Failed;
}

} // namespace

bool read(const QByteArray& nativePath, QByteArray& out)
{
    return read(nativePath, out, kDefaultLimit);
}

bool read(const QByteArray& nativePath, QByteArray& out, qint64 limit, Refusal* why)
{
    Refusal refusal = Refusal::None;
    out.resize(0);
    const int fd = openForReading(nativePath, 0);
    const bool ok = fd >= 0 && readOpened(fd, out, nullptr, limit, refusal) == Outcome::Read;
    if (why)
        *why = refusal;
    return ok;
}

Outcome readWithFacts(const QByteArray& nativePath, QByteArray& out, Facts& facts)
{
    return readWithFacts(nativePath, out, facts, kDefaultLimit);
}

Outcome readWithFacts(const QByteArray& nativePath, QByteArray& out, Facts& facts, qint64 limit, Refusal* why)
{
    Refusal refusal = Refusal::None;
    out.resize(0);
    // Not following a link first tells "no file" from "a link to nowhere" in one call; a link, the
    // rare case, is opened again through.
    int fd = openForReading(nativePath, O_NOFOLLOW);
    if (fd < 0 && errno == ENOENT) {
        if (why)
            *why = refusal;
        return Outcome::Missing;
    }
    if (fd < 0 && errno == ELOOP)
        fd = openForReading(nativePath, 0);
    const Outcome outcome = fd < 0 ? Outcome::Failed : readOpened(fd, out, &facts, limit, refusal);
    if (why)
        *why = refusal;
    return outcome;
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
