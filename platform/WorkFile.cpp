#include "platform/WorkFile.h"

#include "platform/AnsiText.h"
#include "platform/Failure.h"

#include <QFile>
#include <QStringDecoder>

#ifndef Q_OS_WIN
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace WorkFile {

namespace {
[[noreturn]] void cannotCreate(const QString& path)
{
    throw EInOutError(formatMessage(QStringLiteral("ファイル %s を作成できません。"), path));
}

#ifndef Q_OS_WIN
bool writeAll(int fd, const QByteArray& bytes)
{
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        left -= n;
    }
    return true;
}
#endif
} // namespace

void write(const QString& path, const QByteArray& bytes)
{
#ifdef Q_OS_WIN
    AnsiText::writeBytes(path, bytes);
#else
    const QByteArray native = QFile::encodeName(path);
    // Whoever can plant a name in the folder can plant it again between the removal and the
    // creation; the exclusive creation then fails instead of following it, and we try again.
    for (int attempt = 0; attempt < 4; ++attempt) {
        const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0) {
            const bool written = ::fchmod(fd, 0600) == 0 && writeAll(fd, bytes);
            const bool closed = ::close(fd) == 0;
            if (written && closed)
                return;
            ::unlink(native.constData());
            cannotCreate(path);
        }
        if (errno != EEXIST)
            cannotCreate(path);
        struct stat st {};
        if (::lstat(native.constData(), &st) == 0 && S_ISDIR(st.st_mode))
            cannotCreate(path);
        if (::unlink(native.constData()) != 0 && errno != ENOENT)
            cannotCreate(path);
    }
    cannotCreate(path);
#endif
}

QString decode(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return AnsiText::decode(bytes);
}

} // namespace WorkFile
