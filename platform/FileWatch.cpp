#include "platform/FileWatch.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr int kPollMs = 500;
constexpr int kGatherMs = 30;

bool sameFacts(const FileBytes::Facts& a, const FileBytes::Facts& b)
{
    return a.size == b.size && a.mtimeMs == b.mtimeMs && a.ctimeNs == b.ctimeNs && a.inode == b.inode;
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

void FileWatch::setPaths(const QStringList& paths)
{
    // Paths watched already keep what was last seen of them: their bytes are not read again,
    // and a change since is told at the next look.
    QHash<QString, State> states;
    for (const QString& path : paths) {
        const auto known = m_states.constFind(path);
        if (known != m_states.cend())
            states.insert(path, *known);
    }
    for (auto it = m_states.cbegin(); it != m_states.cend(); ++it) {
        if (!states.contains(it.key()) && m_watcher.files().contains(it.key()))
            m_watcher.removePath(it.key());
    }
    QStringList folders;
    for (const QString& path : paths)
        folders << QFileInfo(path).absolutePath();
    for (const QString& folder : m_watcher.directories()) {
        if (!folders.contains(folder))
            m_watcher.removePath(folder);
    }
    m_states = states;
    for (const QString& path : paths) {
        if (m_states.contains(path))
            continue;
        const State state = stateOf(path, nullptr);
        m_states.insert(path, state);
        arm(path, State(), state);
    }
    if (m_states.isEmpty())
        m_poll.stop();
    else if (!m_poll.isActive())
        m_poll.start();
}

void FileWatch::acknowledge(const QString& path)
{
    const auto it = m_states.find(path);
    if (it != m_states.end())
        *it = stateOf(path, nullptr);
}

FileWatch::State FileWatch::stateOf(const QString& path, const State* known)
{
    State state;
    const QByteArray native = QFile::encodeName(path);
    FileBytes::Facts facts;
    if (FileBytes::factsOf(native, facts) != FileBytes::Outcome::Read)
        return state; // missing, or a folder where the file was: not the file any more
    state.exists = true;
    state.facts = facts;
    if (known && known->exists && sameFacts(known->facts, facts)) {
        state.digest = known->digest;
        return state;
    }
    QByteArray bytes;
    if (FileBytes::readWithFacts(native, bytes, state.facts) == FileBytes::Outcome::Read)
        state.digest = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
    return state;
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
    const State before = *it;
    const State now = stateOf(path, &before);
    *it = now;
    arm(path, before, now);
    if (before.exists != now.exists) {
        Q_EMIT fileChanged(path, now.exists ? Change::Appeared : Change::Vanished);
        return;
    }
    // Bytes that could not be read are never taken for the same ones.
    if (now.exists && (now.digest != before.digest || now.digest.isEmpty()) &&
        !sameFacts(before.facts, now.facts))
        Q_EMIT fileChanged(path, Change::Changed);
}

void FileWatch::arm(const QString& path, const State& before, const State& now)
{
    // A replace puts another file under the name: the notice must follow the name, not the file.
    const bool watched = m_watcher.files().contains(path);
    const bool moved = !before.exists || before.facts.inode != now.facts.inode;
    if (watched && (!now.exists || moved))
        m_watcher.removePath(path);
    if (now.exists && (!watched || moved))
        m_watcher.addPath(path);
    const QString folder = QFileInfo(path).absolutePath();
    if (!m_watcher.directories().contains(folder) && QFileInfo(folder).isDir())
        m_watcher.addPath(folder);
}
