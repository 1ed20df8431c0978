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
    connect(&m_notices, &FolderNotices::changed, this, &FileWatch::noticed);
    connect(&m_notices, &FolderNotices::namesChanged, this, &FileWatch::folderNamesChanged);
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
    QHash<QString, DiskStamp> states;
    for (const QString& path : paths) {
        const auto known = m_states.constFind(path);
        states.insert(path, known != m_states.cend() ? *known : DiskStamp::take(path));
    }
    m_states = states;
    follow();
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
    m_folders = m_namesIn.keys();
    m_notices.setFolders(m_folders);
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

void FileWatch::checkAll()
{
    m_notices.setFolders(m_folders); // takes again a folder that was removed and made anew
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
