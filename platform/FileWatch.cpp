#include "platform/FileWatch.h"

#include <QFile>
#include <QFileInfo>

namespace {

constexpr int kPollMs = 500;
constexpr int kGatherMs = 30;

// The file as it is now, its bytes not read: any move of its facts is told.
DiskStamp factsOnly(const QString& path)
{
    FileBytes::Facts facts;
    if (FileBytes::factsOf(QFile::encodeName(path), facts) != FileBytes::Outcome::Read)
        return DiskStamp::missing();
    return DiskStamp::fromFacts(facts, {});
}

} // namespace

FileWatch::FileWatch(QObject* parent) : QObject(parent)
{
    m_soon.setSingleShot(true);
    m_soon.setInterval(kGatherMs);
    connect(&m_soon, &QTimer::timeout, this, &FileWatch::checkAll);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, &m_soon, qOverload<>(&QTimer::start));
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_soon, qOverload<>(&QTimer::start));
    m_poll.setInterval(kPollMs);
    connect(&m_poll, &QTimer::timeout, this, &FileWatch::checkAll);
}

void FileWatch::setFiles(const QHash<QString, Seen>& files)
{
    QHash<QString, DiskStamp> states;
    for (auto it = files.cbegin(); it != files.cend(); ++it)
        states.insert(it.key(), it.value() ? *it.value() : factsOnly(it.key()));
    m_states = states;
    follow(files.keys());
}

void FileWatch::setPaths(const QStringList& paths)
{
    // A change since the last look is still told at the next one.
    QHash<QString, DiskStamp> states;
    for (const QString& path : paths) {
        const auto known = m_states.constFind(path);
        states.insert(path, known != m_states.cend() ? *known : DiskStamp::take(path));
    }
    m_states = states;
    follow(paths);
}

void FileWatch::know(const QString& path, const DiskStamp& seen)
{
    const auto it = m_states.find(path);
    if (it != m_states.end())
        *it = seen;
}

void FileWatch::follow(const QStringList& paths)
{
    // The kernel's notices: files no longer watched are dropped, new ones armed.
    const QStringList files = m_watcher.files();
    QStringList folders;
    for (const QString& path : paths)
        folders << QFileInfo(path).absolutePath();
    for (const QString& file : files) {
        if (!m_states.contains(file))
            m_watcher.removePath(file);
    }
    for (const QString& folder : m_watcher.directories()) {
        if (!folders.contains(folder))
            m_watcher.removePath(folder);
    }
    for (const QString& path : paths) {
        if (!files.contains(path))
            arm(path, 0, m_states.value(path));
    }
    if (m_states.isEmpty())
        m_poll.stop();
    else if (!m_poll.isActive())
        m_poll.start();
}

void FileWatch::checkAll()
{
    const QStringList paths = m_states.keys();
    for (const QString& path : paths)
        check(path);
}

void FileWatch::check(const QString& path)
{
    const auto it = m_states.find(path);
    if (it == m_states.end())
        return;
    const DiskStamp before = *it;
    // One stat; the bytes are read only when the facts moved.
    FileBytes::Facts facts;
    const bool exists = FileBytes::factsOf(QFile::encodeName(path), facts) == FileBytes::Outcome::Read;
    const bool same = exists ? before.sameFacts(facts) : !before.exists();
    if (!same)
        *it = exists ? DiskStamp::take(path) : DiskStamp::missing(); // a folder is not the file
    const DiskStamp now = *it;
    arm(path, before.inode(), now);
    if (same)
        return;
    if (before.exists() != now.exists()) {
        Q_EMIT fileChanged(path, now.exists() ? Change::Appeared : Change::Vanished);
        return;
    }
    // Bytes that could not be read, or were not known, are never taken for the same ones.
    if (now.exists() && !now.sameBytes(before))
        Q_EMIT fileChanged(path, Change::Changed);
}

void FileWatch::arm(const QString& path, quint64 inodeBefore, const DiskStamp& now)
{
    // A replace puts another file under the name: the notice must follow the name, not the file.
    const bool watched = m_watcher.files().contains(path);
    const bool moved = inodeBefore != now.inode();
    if (watched && (!now.exists() || moved))
        m_watcher.removePath(path);
    if (now.exists() && (!watched || moved))
        m_watcher.addPath(path);
    const QString folder = QFileInfo(path).absolutePath();
    if (!m_watcher.directories().contains(folder) && QFileInfo(folder).isDir())
        m_watcher.addPath(folder);
}
