#pragma once

#include "platform/DiskStamp.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

class QObject;

// Texts typed but not yet in the data folder, kept in the per-user state folder so a crash, a
// killed session or an unwritable folder does not lose them. One folder per data folder, one
// entry file per data file; every write replaces the entry atomically.
class RecoveryJournal final {
public:
    struct Entry {
        QString target;   // full path of the data file the text belongs to
        QString label;    // how the user knows it, such as 2001年02月03日の日誌
        int page = -1;    // the page index, or -1 for the month grid
        DiskStamp base;   // the data file as the text was based on
        QDateTime taken;  // when the text was journaled
        QByteArray bytes; // exactly what a save writes; empty for an emptied page
    };

    // root: the folder that holds one journal folder per data folder.
    explicit RecoveryJournal(QString root);
    // Finishes the writes started in the background first: none is left half done.
    ~RecoveryJournal();
    Q_DISABLE_COPY_MOVE(RecoveryJournal)
    // $XDG_STATE_HOME/QuavScheduler/recovery, ~/.local/state when the variable is unset.
    static QString defaultRoot();

    const QString& root() const { return m_root; }
    QString folderFor(const QString& dataFolder) const;

    // Replaces the entry of the target; skipped when the same bytes were journaled last.
    // Throws EInOutError when the entry cannot be written.
    void put(const Entry& entry);
    // Drops the entry of the target; a missing entry is no error. False when it stays on disk.
    bool remove(const QString& target);
    // As put, on a worker thread, so a large text is encoded and written while the window goes
    // on: `bytes` gives the entry's bytes there. The calls for one target keep their order: a
    // later call drops this write if it has not begun, and a later put or remove waits for one
    // that has. `done` then runs in `context`'s thread with the failure, empty when written,
    // unless a later call for the target came first. `context` must outlive the journal.
    void putInBackground(Entry entry, std::function<QByteArray()> bytes, QObject* context,
                         std::function<void(const QString& failure)> done);
    // Waits until every write started in the background has ended.
    void finishBackground() const;
    // Entries of one data folder, oldest first; unreadable entry files are left out.
    QList<Entry> entries(const QString& dataFolder) const;
    // Moves the entries of the data folder into a set-aside folder of their own and returns
    // its path; they are never deleted. Throws EInOutError when one cannot be moved.
    QString setAside(const QString& dataFolder, const QDateTime& now);

    // A name beside the target for a copy that must not replace it, such as
    // "ToDo (QuavSchedulerの入力 2026-12-08 103015).txt"; never the name of an existing file.
    static QString copyPathBeside(const QString& target, const QDateTime& now);

    // An entry as a file: the magic line, any extra "key=value" lines, the entry's own lines,
    // an empty line, the bytes. Reading gives nothing for another magic or a cut file; keys it
    // does not know go to `other`.
    static QByteArray record(const Entry& entry, const QByteArray& magic, const QByteArray& extraLines = {});
    static std::optional<Entry> parseRecord(const QByteArray& data, const QByteArray& magic,
                                            QHash<QByteArray, QString>* other = nullptr);

private:
    struct Job;
    // The record without its bytes.
    static QByteArray recordHead(const Entry& entry, const QByteArray& magic, const QByteArray& extraLines);
    QString entryPath(const QString& target) const;
    void write(const Entry& entry); // the put itself, on either thread
    // Makes the folder, or closes it to others, and the journal's root with it. Under m_mutex.
    bool makePrivate(const QString& folder);
    // Before a call for the target in the window's thread: its queued write is dropped and the
    // one running is waited for.
    void settle(const QString& target);
    void runJobs();

    QString m_root;
    QHash<QString, QByteArray> m_lastPut; // target -> digest of the entry written last
    QSet<QString> m_private;              // folders made or closed in this run
    // target -> calls so far, in the window's thread only; shared with the reports still on
    // their way there.
    std::shared_ptr<QHash<QString, quint64>> m_calls = std::make_shared<QHash<QString, quint64>>();
    // Guards the two sets above and the jobs: the worker writes beside the window's thread.
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_jobsChanged;
    std::deque<std::shared_ptr<Job>> m_queue;
    std::shared_ptr<Job> m_running;
    bool m_stopping = false;
    std::thread m_worker;
};
