#include "FileEvents.h"

#include <QFileInfo>

#ifdef __linux__
#include <sys/inotify.h>
#include <unistd.h>

#endif

FileEvents::FileEvents(const QString& path) : m_name(QFileInfo(path).fileName())
{
#ifdef __linux__
    m_fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_fd < 0)
        return;
    const QByteArray folder = QFileInfo(path).absolutePath().toLocal8Bit();
    if (inotify_add_watch(m_fd, folder.constData(), IN_OPEN | IN_CREATE | IN_MOVED_TO) < 0) {
        close(m_fd);
        m_fd = -1;
    }
#endif
}

FileEvents::~FileEvents()
{
#ifdef __linux__
    if (m_fd >= 0)
        close(m_fd);
#endif
}

FileEvents::Counts FileEvents::take()
{
    Counts counts;
#ifdef __linux__
    if (m_fd < 0)
        return counts;
    const QByteArray name = m_name.toLocal8Bit();
    alignas(inotify_event) char buffer[8192];
    for (;;) {
        const ssize_t got = read(m_fd, buffer, sizeof buffer);
        if (got <= 0)
            break; // EAGAIN: nothing more pending
        for (ssize_t at = 0; at < got;) {
            inotify_event event;
            std::memcpy(&event, buffer + at, sizeof event);
            const char* eventName = buffer + at + sizeof event;
            at += ssize_t(sizeof event + event.len);
            if (event.len == 0 || name != eventName)
                continue;
            if (event.mask & IN_OPEN)
                ++counts.opened;
            if (event.mask & (IN_CREATE | IN_MOVED_TO))
                ++counts.replaced;
        }
    }
#endif
    return counts;
}
