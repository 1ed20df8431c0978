#include "platform/FolderNotices.h"

#include <QCoreApplication>
#include <QFile>
#include <QPointer>
#include <QThreadPool>
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

struct FolderNotices::Descriptor {
    int fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    Descriptor() = default;
    Q_DISABLE_COPY_MOVE(Descriptor)
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

FolderNotices::FolderNotices(QObject* parent) : QObject(parent), m_descriptor(std::make_shared<Descriptor>())
{
    if (m_descriptor->fd < 0)
        return; // no notices here: the caller's looks still see every change, only later
    m_notifier = new QSocketNotifier(m_descriptor->fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &FolderNotices::readNotices);
}

FolderNotices::~FolderNotices() = default;

void FolderNotices::setFolders(const QStringList& folders)
{
    m_wanted = folders;
    const int fd = m_descriptor->fd;
    if (fd < 0)
        return;
    for (const QString& folder : m_watchOf.keys()) {
        if (!folders.contains(folder)) {
            const int watch = m_watchOf.value(folder);
            inotify_rm_watch(fd, watch);
            drop(watch);
        }
    }
    for (const QString& folder : folders) {
        if (!m_watchOf.contains(folder) && !m_arming.contains(folder))
            arm(folder);
    }
}

void FolderNotices::arm(const QString& folder)
{
    // Arming a folder marks every entry of it the kernel holds: thousands of day files take
    // milliseconds, kept off the window's thread. A change meanwhile is seen by the caller's look.
    m_arming.insert(folder);
    const QPointer<FolderNotices> self(this);
    QThreadPool::globalInstance()->start([self, descriptor = m_descriptor, folder] {
        // IN_ONLYDIR: a file where the folder was is not followed as one.
        const int watch = inotify_add_watch(descriptor->fd, QFile::encodeName(folder).constData(),
                                            kInside | kItself | IN_ONLYDIR);
        QMetaObject::invokeMethod(
            qApp,
            [self, folder, watch] {
                if (self)
                    self->armed(folder, watch);
            },
            Qt::QueuedConnection);
    });
}

void FolderNotices::armed(const QString& folder, int watch)
{
    m_arming.remove(folder);
    if (watch < 0)
        return; // tried again at the next setFolders
    if (!m_wanted.contains(folder)) {
        if (!m_folderOf.contains(watch)) // another name of the same folder still wants it
            inotify_rm_watch(m_descriptor->fd, watch);
        return;
    }
    // Two names of one folder share a watch; the later name is the one told.
    if (const auto other = m_folderOf.constFind(watch); other != m_folderOf.cend())
        m_watchOf.remove(*other);
    m_watchOf.insert(folder, watch);
    m_folderOf.insert(watch, folder);
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
        const ssize_t got = ::read(m_descriptor->fd, buffer.data(), buffer.size());
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
                    inotify_rm_watch(m_descriptor->fd, event.wd);
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
