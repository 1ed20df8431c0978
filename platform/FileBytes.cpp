#include "platform/FileBytes.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace FileBytes {

bool read(const QByteArray& nativePath, QByteArray& out)
{
    const int fd = ::open(nativePath.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    out.resize(0);
    qsizetype size = 0;
    bool ok = true;
    for (;;) {
        if (out.size() - size < 8192)
            out.resize(size + 16384);
        const ssize_t n = ::read(fd, out.data() + size, size_t(out.size() - size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        size += n;
    }
    ::close(fd);
    out.resize(size);
    return ok;
}

} // namespace FileBytes
