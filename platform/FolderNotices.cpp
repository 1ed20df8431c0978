#include "platform/FolderNotices.h"

#include <QFile>
#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <cstring>
#include <sys/inotify.h>
#include <unistd.h>

namespace {
constexpr uint32_t kInside =
    IN_MODIFY | IN_CLOSE_WRITE | IN_ATTRIB | IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
constexpr uint32_t kComeOrGone = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
constexpr uint32_t kItself = IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT;
} // namespace

FolderNotices::FolderNotices(QObject* parent) : QObject(parent)
{
    m_fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_fd < 0)
        return; // no notices here: the caller's looks still see every change, only later
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &FolderNotices::readNotices);
}

FolderNotices::~FolderNotices()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void FolderNotices::setFolders(const QStringList& folders)
{
    if (m_fd < 0)
        return;
    for (const QString& folder : m_watchOf.keys()) {
        if (!folders.contains(folder)) {
            const int watch = m_watchOf.value(folder);
            inotify_rm_watch(m_fd, watch);
            drop(watch);
        }
    }
    for (const QString& folder : folders) {
        if (m_watchOf.contains(folder))
            continue;
        // IN_ONLYDIR: a file where the folder was is not followed as one.
        const int watch =
            inotify_add_watch(m_fd, QFile::encodeName(folder).constData(), kInside | kItself | IN_ONLYDIR);
        if (watch < 0)
            continue;
        // Two names of one folder share a watch; the later name is the one told.
        if (const auto other = m_folderOf.constFind(watch); other != m_folderOf.cend())
            m_watchOf.remove(*other);
        m_watchOf.insert(folder, watch);
        m_folderOf.insert(watch, folder);
    }
}

void FolderNotices::drop(int watch)
{
    m_watchOf.remove(m_folderOf.value(watch));
    m_folderOf.remove(watch);
}

void FolderNotices::readNotices()
{
    alignas(inotify_event) std::array<char, 16384> buffer;
    for (;;) {
        const ssize_t got = ::read(m_fd, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return; // EAGAIN: all read
        for (ssize_t at = 0; at < got;) {
            inotify_event event;
            std::memcpy(&event, buffer.data() + at, sizeof event);
            const char* name = buffer.data() + at + sizeof event;
            at += ssize_t(sizeof event + event.len);
            if (event.mask & IN_Q_OVERFLOW) {
                // Notices were lost: anything in any folder may have changed.
                for (const QString& folder : m_folderOf.values()) {
                    Q_EMIT changed(folder, QString());
                    Q_EMIT namesChanged(folder);
                }
                continue;
            }
            const auto folder = m_folderOf.constFind(event.wd);
            if (folder == m_folderOf.cend())
                continue; // a watch given up already
            const QString path = *folder;
            if (event.mask & (kItself | IN_IGNORED)) {
                // The watch would follow the folder wherever it went; the name is what counts.
                if (!(event.mask & IN_IGNORED))
                    inotify_rm_watch(m_fd, event.wd);
                drop(event.wd);
                Q_EMIT changed(path, QString());
                Q_EMIT namesChanged(path);
                continue;
            }
            Q_EMIT changed(path, event.len ? QFile::decodeName(name) : QString());
            if (event.mask & kComeOrGone)
                Q_EMIT namesChanged(path);
        }
    }
}
