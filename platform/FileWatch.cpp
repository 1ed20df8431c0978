#include "platform/FileWatch.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace {

constexpr int kPollMs = 500;
constexpr int kGatherMs = 30;

FileWatch::FolderTime folderTimeOf(const QString& folder)
{
    struct stat st {};
    if (::stat(QFile::encodeName(folder).constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return {};
    return {qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec, quint64(st.st_ino)};
}

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
    connect(&m_notices, &FolderNotices::changed, this, &FileWatch::noticed);
    connect(&m_notices, &FolderNotices::namesChanged, this, &FileWatch::namesNoticed);
    m_poll.setInterval(kPollMs);
    connect(&m_poll, &QTimer::timeout, this, &FileWatch::checkAll);
}

void FileWatch::setFiles(const QHash<QString, Seen>& files)
{
    QHash<QString, DiskStamp> states;
    for (auto it = files.cbegin(); it != files.cend(); ++it)
        states.insert(it.key(), it.value() ? *it.value() : factsOnly(it.key()));
    m_states = states;
    follow();
}

void FileWatch::setPaths(const QStringList& paths)
{
    // A change since the last look is still told at the next one.
    QHash<QString, Seen> files;
    for (const QString& path : paths) {
        const auto known = m_states.constFind(path);
        files.insert(path, known != m_states.cend() ? *known : DiskStamp::take(path));
    }
    setFiles(files);
}

void FileWatch::know(const QString& path, const DiskStamp& seen)
{
    const auto it = m_states.find(path);
    if (it != m_states.end())
        *it = seen;
}

void FileWatch::follow()
{
    m_namesIn.clear();
    for (auto it = m_states.cbegin(); it != m_states.cend(); ++it) {
        const QString& path = it.key();
        const qsizetype slash = path.lastIndexOf(u'/');
        if (slash > 0) // the paths are absolute; this runs at every date change
            m_namesIn[path.left(slash)] << path.mid(slash + 1);
        else {
            const QFileInfo info(path);
            m_namesIn[info.absolutePath()] << info.fileName();
        }
    }
    const QStringList folders = m_namesIn.keys();
    if (folders != m_folders) {
        // Folders no longer wanted are let go now; new ones are armed at the first look, half a
        // second on: arming a folder of many years costs the kernel milliseconds, and the program
        // is starting or changing folders just then. Until armed, the looks see every change.
        m_folders = folders;
        QStringList kept;
        for (const QString& folder : folders) {
            if (m_notices.wants(folder))
                kept << folder;
        }
        m_notices.setFolders(kept);
        QHash<QString, FolderTime> times;
        for (const QString& folder : folders) {
            const auto known = m_folderTimes.constFind(folder);
            times.insert(folder, known != m_folderTimes.cend() ? *known : folderTimeOf(folder));
        }
        m_folderTimes = times;
    }
    if (m_states.isEmpty())
        m_poll.stop();
    else if (!m_poll.isActive())
        m_poll.start();
}

void FileWatch::noticed(const QString& folder, const QString& name)
{
    // The folder's other files (the day files of other dates, a save's temporary) are not ours.
    if (name.isEmpty() || m_namesIn.value(folder).contains(name))
        m_soon.start();
}

void FileWatch::namesNoticed(const QString& folder)
{
    const auto known = m_folderTimes.find(folder);
    if (known != m_folderTimes.end())
        *known = folderTimeOf(folder); // the next look need not tell it again
    Q_EMIT folderNamesChanged(folder);
}

void FileWatch::checkAll()
{
    m_notices.setFolders(m_folders); // takes again a folder that was removed and made anew
    // A folder's time moves when names come or go: what no notice told, or told before it was armed.
    for (auto it = m_folderTimes.begin(); it != m_folderTimes.end(); ++it) {
        const FolderTime now = folderTimeOf(it.key());
        if (now != *it) {
            *it = now;
            Q_EMIT folderNamesChanged(it.key());
        }
    }
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
