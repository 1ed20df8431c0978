#include "schedule/RecoveryJournal.h"

#include "platform/Failure.h"
#include "platform/FileBytes.h"
#include "platform/FileReplace.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMetaObject>
#include <QObject>
#include <QSet>

#include <algorithm>
#include <atomic>
#include <optional>

namespace {
const QByteArray kMagic = QByteArrayLiteral("QuavScheduler recovery 1");
const QString kSuffix = QStringLiteral(".entry");

QString folderKey(const QString& dataFolder)
{
    const QString clean = QDir::cleanPath(QFileInfo(dataFolder).absoluteFilePath());
    const QByteArray hash =
        QCryptographicHash::hash(clean.toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
    QString name = QFileInfo(clean).fileName();
    // The readable part is only a hint for a person looking in the folder.
    for (QChar& c : name)
        if (!c.isLetterOrNumber() && c != u'-' && c != u'_')
            c = u'_';
    return (name.isEmpty() ? QStringLiteral("root") : name.left(40)) + u'-' + QString::fromLatin1(hash);
}

} // namespace

QByteArray RecoveryJournal::record(const Entry& e, const QByteArray& magic, const QByteArray& extraLines)
{
    return recordHead(e, magic, extraLines) + e.bytes;
}

QByteArray RecoveryJournal::recordHead(const Entry& e, const QByteArray& magic, const QByteArray& extraLines)
{
    QByteArray out = magic + '\n' + extraLines;
    out += "target=" + e.target.toUtf8() + '\n';
    out += "label=" + e.label.toUtf8() + '\n';
    out += "page=" + QByteArray::number(e.page) + '\n';
    out += "base=" + e.base.toText().toUtf8() + '\n';
    out += "taken=" + e.taken.toUTC().toString(Qt::ISODateWithMs).toUtf8() + '\n';
    out += "size=" + QByteArray::number(e.bytes.size()) + "\n\n";
    return out;
}

std::optional<RecoveryJournal::Entry> RecoveryJournal::parseRecord(const QByteArray& data,
                                                                   const QByteArray& magic,
                                                                   QHash<QByteArray, QString>* other)
{
    const qsizetype end = data.indexOf("\n\n");
    if (end < 0 || !data.startsWith(magic + '\n'))
        return std::nullopt;
    Entry e;
    qsizetype size = -1;
    for (const QByteArray& line : data.left(end).split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq < 0)
            continue;
        const QByteArray key = line.left(eq);
        const QString value = QString::fromUtf8(line.mid(eq + 1));
        if (key == "target")
            e.target = value;
        else if (key == "label")
            e.label = value;
        else if (key == "page")
            e.page = value.toInt();
        else if (key == "base")
            e.base = DiskStamp::fromText(value);
        else if (key == "taken")
            e.taken = QDateTime::fromString(value, Qt::ISODateWithMs);
        else if (key == "size")
            size = value.toLongLong();
        else if (other)
            other->insert(key, value);
    }
    e.bytes = data.mid(end + 2);
    // A cut entry is never taken for a whole text.
    if (e.target.isEmpty() || size != e.bytes.size())
        return std::nullopt;
    return e;
}

struct RecoveryJournal::Job {
    Entry entry;
    std::function<QByteArray()> bytes;
    QObject* context = nullptr;
    std::function<void(const QString&)> done;
    quint64 call = 0;
    std::atomic<bool> superseded = false;
};

RecoveryJournal::RecoveryJournal(QString root) : m_root(std::move(root)) {}

RecoveryJournal::~RecoveryJournal()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_jobsChanged.notify_all();
    if (m_worker.joinable())
        m_worker.join();
}

QString RecoveryJournal::defaultRoot()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || !QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/QuavScheduler/recovery");
}

QString RecoveryJournal::folderFor(const QString& dataFolder) const
{
    return m_root + u'/' + folderKey(dataFolder);
}

QString RecoveryJournal::entryPath(const QString& target) const
{
    const QFileInfo info(target);
    return folderFor(info.path()) + u'/' + info.fileName() + kSuffix;
}

void RecoveryJournal::put(const Entry& entry)
{
    settle(entry.target);
    write(entry);
}

void RecoveryJournal::write(const Entry& entry)
{
    const QByteArray digest =
        QCryptographicHash::hash(entry.bytes, QCryptographicHash::Sha1) + entry.base.toText().toUtf8();
    const QString path = entryPath(entry.target);
    const QString folder = QFileInfo(path).path();
    {
        const std::lock_guard lock(m_mutex);
        if (m_lastPut.value(entry.target) == digest)
            return;
        if (!makePrivate(folder))
            throw EInOutError(formatMessage(QStringLiteral("%s に書き込めません"), folder));
        const QString where = folder + QStringLiteral("/folder.txt");
        if (!QFileInfo::exists(where) &&
            !FileReplace::replace(where, QFileInfo(entry.target).path().toUtf8() + '\n',
                                  FileReplace::Access::Private))
            throw EInOutError(formatMessage(QStringLiteral("%s に書き込めません"), where));
    }
    // The bytes go out as they are: a large page's text is not copied again behind its head.
    if (!FileReplace::replace(path, {recordHead(entry, kMagic, {}), entry.bytes},
                              FileReplace::Access::Private)) {
        const std::lock_guard lock(m_mutex);
        m_private.remove(folder); // looked for again next time: it may have been removed
        throw EInOutError(formatMessage(QStringLiteral("%s に書き込めません"), path));
    }
    const std::lock_guard lock(m_mutex);
    m_lastPut.insert(entry.target, digest);
}

void RecoveryJournal::putInBackground(Entry entry, std::function<QByteArray()> bytes, QObject* context,
                                      std::function<void(const QString&)> done)
{
    auto job = std::make_shared<Job>();
    job->call = ++(*m_calls)[entry.target];
    job->entry = std::move(entry);
    job->bytes = std::move(bytes);
    job->context = context;
    job->done = std::move(done);
    {
        const std::lock_guard lock(m_mutex);
        // An older text of the same target that is not written yet never will be: this one
        // replaces it. One being written goes on; this one follows it.
        std::erase_if(m_queue, [&](const std::shared_ptr<Job>& queued) {
            return queued->entry.target == job->entry.target;
        });
        if (m_running && m_running->entry.target == job->entry.target)
            m_running->superseded = true;
        m_queue.push_back(job);
        if (!m_worker.joinable())
            m_worker = std::thread([this] { runJobs(); });
    }
    m_jobsChanged.notify_all();
}

void RecoveryJournal::runJobs()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_jobsChanged.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
        // Stopping still writes what was asked for: the close waits for it.
        if (m_queue.empty())
            return;
        const std::shared_ptr<Job> job = m_queue.front();
        m_queue.pop_front();
        m_running = job;
        lock.unlock();
        QString failure;
        try {
            job->entry.bytes = job->bytes();
            if (!job->superseded)
                write(job->entry);
        } catch (const EQuavError& error) {
            failure = error.message();
        } catch (const std::exception&) {
            failure = formatMessage(QStringLiteral("%s に書き込めません"), entryPath(job->entry.target));
        }
        job->entry.bytes.clear();
        lock.lock();
        m_running.reset();
        m_jobsChanged.notify_all();
        if (job->superseded || !job->context)
            continue;
        QMetaObject::invokeMethod(
            job->context,
            [calls = m_calls, job, failure] {
                if (calls->value(job->entry.target) == job->call)
                    job->done(failure);
            },
            Qt::QueuedConnection);
    }
}

void RecoveryJournal::settle(const QString& target)
{
    ++(*m_calls)[target];
    std::unique_lock lock(m_mutex);
    std::erase_if(m_queue,
                  [&](const std::shared_ptr<Job>& queued) { return queued->entry.target == target; });
    if (m_running && m_running->entry.target == target) {
        m_running->superseded = true;
        m_jobsChanged.wait(lock, [&] { return !m_running || m_running->entry.target != target; });
    }
}

void RecoveryJournal::finishBackground() const
{
    std::unique_lock lock(m_mutex);
    m_jobsChanged.wait(lock, [this] { return m_queue.empty() && !m_running; });
}

bool RecoveryJournal::makePrivate(const QString& folder)
{
    // Typed text is nobody else's to read: folders made before without this are closed too.
    if (m_private.contains(folder))
        return true;
    if (!FileReplace::makePrivateFolders(folder) || !FileReplace::makeFolderPrivate(folder) ||
        !FileReplace::makeFolderPrivate(m_root))
        return false;
    m_private.insert(folder);
    return true;
}

bool RecoveryJournal::remove(const QString& target)
{
    settle(target);
    {
        const std::lock_guard lock(m_mutex);
        m_lastPut.remove(target);
    }
    const QString path = entryPath(target);
    return QFile::remove(path) || !QFileInfo::exists(path);
}

QList<RecoveryJournal::Entry> RecoveryJournal::entries(const QString& dataFolder) const
{
    finishBackground();
    QList<Entry> out;
    const QDir dir(folderFor(dataFolder));
    QByteArray data;
    for (const QFileInfo& info : dir.entryInfoList({QStringLiteral("*.entry")}, QDir::Files)) {
        if (!FileBytes::read(QFile::encodeName(info.filePath()), data))
            continue;
        if (std::optional<Entry> e = parseRecord(data, kMagic))
            out.append(*e);
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const Entry& a, const Entry& b) { return a.taken < b.taken; });
    return out;
}

QString RecoveryJournal::setAside(const QString& dataFolder, const QDateTime& now)
{
    finishBackground();
    const std::lock_guard lock(m_mutex);
    const QDir dir(folderFor(dataFolder));
    QString aside =
        dir.filePath(QStringLiteral("set-aside/") + now.toString(QStringLiteral("yyyyMMdd-HHmmss")));
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = dir.filePath(QStringLiteral("set-aside/") + now.toString(QStringLiteral("yyyyMMdd-HHmmss-")) +
                             QString::number(n));
    if (!makePrivate(dir.path()) || !FileReplace::makePrivateFolders(aside))
        throw EInOutError(formatMessage(QStringLiteral("%s に書き込めません"), aside));
    for (const QString& name : dir.entryList({QStringLiteral("*.entry")}, QDir::Files)) {
        if (!QFile::rename(dir.filePath(name), aside + u'/' + name))
            throw EInOutError(formatMessage(QStringLiteral("%s に書き込めません"), aside));
    }
    m_lastPut.clear();
    return aside;
}

QString RecoveryJournal::copyPathBeside(const QString& target, const QDateTime& now)
{
    const QFileInfo info(target);
    const QString stem = info.completeBaseName();
    const QString ext = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    const QString base = info.path() + u'/' + stem + QStringLiteral(" (QuavSchedulerの入力 ") +
                         now.toString(QStringLiteral("yyyy-MM-dd HHmmss"));
    QString path = base + u')' + ext;
    for (int n = 2; QFileInfo::exists(path) || QFileInfo(path).isSymLink(); ++n)
        path = base + u' ' + QString::number(n) + u')' + ext;
    return path;
}
