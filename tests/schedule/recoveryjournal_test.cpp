#include "schedule/RecoveryJournal.h"

#include "platform/Failure.h"
#include "support/TempFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTest>

#include <condition_variable>
#include <mutex>
#include <thread>

#include <gtest/gtest.h>

namespace {

class RecoveryJournalTest : public ::testing::Test {
protected:
    TempFolder state;
    TempFolder data;
    RecoveryJournal journal{state.path() + QStringLiteral("/recovery")};
    QDateTime now{QDate(2001, 2, 3), QTime(9, 5)};

    RecoveryJournal::Entry entry(const char* name, const QByteArray& bytes, int page = 3)
    {
        RecoveryJournal::Entry e;
        e.target = data.file(QLatin1String(name));
        e.label = QStringLiteral("2001年02月03日の日誌");
        e.page = page;
        e.base = DiskStamp::take(e.target);
        e.taken = now;
        e.bytes = bytes;
        return e;
    }
    QStringList entryFiles() const
    {
        return QDir(journal.folderFor(data.path())).entryList({QStringLiteral("*.entry")}, QDir::Files);
    }
};

TEST_F(RecoveryJournalTest, entriesComeBackWholeAndLatestWins)
{
    data.write(QStringLiteral("20010203.txt"), "old");
    // Bytes a page may hold: CR LF, NUL, code page 932, an empty line at the end.
    const QByteArray bytes("\x93\xfa\x8e\x8f\r\n\0x\r\n\r\n", 12);
    journal.put(entry("20010203.txt", "first"));
    journal.put(entry("20010203.txt", bytes));
    now = now.addSecs(1);
    journal.put(entry("ToDo.txt", QByteArray(), 0));
    const QList<RecoveryJournal::Entry> got = journal.entries(data.path() + u'/');
    ASSERT_EQ(got.size(), 2);
    EXPECT_EQ(got[0].target, data.file(QStringLiteral("20010203.txt")));
    EXPECT_EQ(got[0].bytes, bytes);
    EXPECT_EQ(got[0].label, QStringLiteral("2001年02月03日の日誌"));
    EXPECT_EQ(got[0].page, 3);
    EXPECT_EQ(got[0].base, DiskStamp::take(got[0].target));
    EXPECT_EQ(got[1].page, 0);
    EXPECT_TRUE(got[1].bytes.isEmpty());
    // Nothing but the entries and the note naming the data folder; no temporary leftovers.
    EXPECT_EQ(QDir(journal.folderFor(data.path())).entryList(QDir::Files).size(), 3);
}

TEST_F(RecoveryJournalTest, cutOrForeignEntryFilesAreIgnored)
{
    journal.put(entry("ToDo.txt", "whole text", 0));
    const QString path = journal.folderFor(data.path()) + QStringLiteral("/ToDo.txt.entry");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.resize(file.size() - 3));
    file.close();
    QFile other(journal.folderFor(data.path()) + QStringLiteral("/Memo.txt.entry"));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("not ours\n\nbytes");
    other.close();
    EXPECT_TRUE(journal.entries(data.path()).isEmpty());
}

TEST_F(RecoveryJournalTest, oneFolderPerDataFolder)
{
    TempFolder otherData;
    journal.put(entry("ToDo.txt", "here", 0));
    EXPECT_TRUE(journal.entries(otherData.path()).isEmpty());
    EXPECT_NE(journal.folderFor(otherData.path()), journal.folderFor(data.path()));
    // Spelling of the same folder does not matter.
    EXPECT_EQ(journal.folderFor(data.path() + QStringLiteral("/")), journal.folderFor(data.path()));
    EXPECT_EQ(journal.folderFor(data.path() + QStringLiteral("/x/..")), journal.folderFor(data.path()));
}

TEST_F(RecoveryJournalTest, setAsideMovesEntriesAndNeverDeletesThem)
{
    journal.put(entry("ToDo.txt", "keep me", 0));
    journal.put(entry("20010203.txt", "me too"));
    const QString aside = journal.setAside(data.path(), now);
    EXPECT_TRUE(journal.entries(data.path()).isEmpty());
    EXPECT_EQ(QDir(aside).entryList({QStringLiteral("*.entry")}, QDir::Files).size(), 2);
    // A second refusal in the same second keeps the first one's entries too.
    journal.put(entry("ToDo.txt", "later", 0));
    const QString second = journal.setAside(data.path(), now);
    EXPECT_NE(second, aside);
    EXPECT_EQ(QDir(aside).entryList({QStringLiteral("*.entry")}, QDir::Files).size(), 2);
    EXPECT_EQ(QDir(second).entryList({QStringLiteral("*.entry")}, QDir::Files).size(), 1);
}

TEST_F(RecoveryJournalTest, unwritableStateFolderThrows)
{
    state.write(QStringLiteral("blocked"), "a file where the folder should be");
    RecoveryJournal blocked(state.file(QStringLiteral("blocked")));
    EXPECT_THROW(blocked.put(entry("ToDo.txt", "x", 0)), EInOutError);
}

TEST(RecoveryJournalPaths, rootFollowsXdgStateHome)
{
    const QByteArray saved = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", "/somewhere/state");
    EXPECT_EQ(RecoveryJournal::defaultRoot(), QStringLiteral("/somewhere/state/QuavScheduler/recovery"));
    qunsetenv("XDG_STATE_HOME");
    EXPECT_EQ(RecoveryJournal::defaultRoot(),
              QDir::homePath() + QStringLiteral("/.local/state/QuavScheduler/recovery"));
    if (!saved.isNull())
        qputenv("XDG_STATE_HOME", saved);
}

TEST(RecoveryJournalPaths, copyBesideNeverNamesAnExistingFile)
{
    TempFolder data;
    const QDateTime when(QDate(2026, 12, 8), QTime(10, 30, 15));
    const QString first = RecoveryJournal::copyPathBeside(data.file(QStringLiteral("ToDo.txt")), when);
    EXPECT_EQ(first, data.file(QStringLiteral("ToDo (QuavSchedulerの入力 2026-12-08 103015).txt")));
    data.write(QFileInfo(first).fileName(), "taken");
    const QString second = RecoveryJournal::copyPathBeside(data.file(QStringLiteral("ToDo.txt")), when);
    EXPECT_EQ(second, data.file(QStringLiteral("ToDo (QuavSchedulerの入力 2026-12-08 103015 2).txt")));
    EXPECT_EQ(RecoveryJournal::copyPathBeside(data.file(QStringLiteral("200102.csv")), when),
              data.file(QStringLiteral("200102 (QuavSchedulerの入力 2026-12-08 103015).csv")));
}

// Holds a background write inside its `bytes` until the test lets it go on.
class Gate final {
public:
    std::function<QByteArray()> holding(QByteArray bytes)
    {
        return [this, bytes] {
            std::unique_lock lock(m_mutex);
            m_entered = true;
            m_changed.notify_all();
            m_changed.wait(lock, [this] { return m_open; });
            return bytes;
        };
    }
    void waitUntilEntered()
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_entered; });
    }
    void open()
    {
        const std::lock_guard lock(m_mutex);
        m_open = true;
        m_changed.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_entered = false;
    bool m_open = false;
};

class RecoveryJournalBackgroundTest : public ::testing::Test {
protected:
    TempFolder state;
    TempFolder data;
    QObject context; // outlives the journal
    RecoveryJournal journal{state.path() + QStringLiteral("/recovery")};
    QStringList reports; // what `done` was called with, "ok" for success
    QDateTime now{QDate(2001, 2, 3), QTime(9, 5)};

    RecoveryJournal::Entry entry(const char* name, int page = 0)
    {
        RecoveryJournal::Entry e;
        e.target = data.file(QLatin1String(name));
        e.label = QString::fromLatin1(name);
        e.page = page;
        e.taken = now;
        return e;
    }
    void putLater(const char* name, std::function<QByteArray()> bytes)
    {
        journal.putInBackground(entry(name), std::move(bytes), &context, [this](const QString& failure) {
            reports.append(failure.isEmpty() ? QStringLiteral("ok") : failure);
        });
    }
    static std::function<QByteArray()> giving(const QByteArray& bytes)
    {
        return [bytes] { return bytes; };
    }
    QStringList targets() const
    {
        QStringList out;
        for (const RecoveryJournal::Entry& e : journal.entries(data.path()))
            out.append(QFileInfo(e.target).fileName() + u'=' + QString::fromUtf8(e.bytes));
        return out;
    }
};

TEST_F(RecoveryJournalBackgroundTest, writtenEntryIsWholeAndReportedOnceInTheCallersThread)
{
    putLater("ToDo.txt", giving("ToDo の全文"));
    journal.finishBackground();
    EXPECT_TRUE(reports.isEmpty()) << "reported outside the caller's event loop";
    QCoreApplication::processEvents();
    EXPECT_EQ(reports, QStringList{QStringLiteral("ok")});
    EXPECT_EQ(targets(), QStringList{QStringLiteral("ToDo.txt=ToDo の全文")});
    QCoreApplication::processEvents();
    EXPECT_EQ(reports.size(), 1);
}

TEST_F(RecoveryJournalBackgroundTest, removeAfterABackgroundPutIsNeverOvertaken)
{
    Gate gate;
    putLater("ToDo.txt", gate.holding("being written"));
    gate.waitUntilEntered();
    putLater("Memo.txt", giving("queued"));
    // Memo's queued write goes; ToDo's running one is waited for, then removed.
    EXPECT_TRUE(journal.remove(data.file(QStringLiteral("Memo.txt"))));
    std::thread later([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        gate.open();
    });
    EXPECT_TRUE(journal.remove(data.file(QStringLiteral("ToDo.txt"))));
    later.join();
    journal.finishBackground();
    EXPECT_TRUE(targets().isEmpty());
    QCoreApplication::processEvents();
    EXPECT_TRUE(reports.isEmpty()) << "a write that a later call replaced reports nothing";
}

TEST_F(RecoveryJournalBackgroundTest, laterTextOfTheSameTargetWinsWhicheverWay)
{
    Gate gate;
    putLater("ToDo.txt", gate.holding("first"));
    gate.waitUntilEntered();
    putLater("ToDo.txt", giving("second"));
    putLater("ToDo.txt", giving("third"));
    gate.open();
    journal.finishBackground();
    QCoreApplication::processEvents();
    EXPECT_EQ(targets(), QStringList{QStringLiteral("ToDo.txt=third")});
    // A put now, after a background one that has ended but not yet reported.
    putLater("ToDo.txt", giving("fourth"));
    journal.finishBackground();
    RecoveryJournal::Entry now = entry("ToDo.txt");
    now.bytes = "fifth";
    journal.put(now);
    QCoreApplication::processEvents();
    EXPECT_EQ(targets(), QStringList{QStringLiteral("ToDo.txt=fifth")});
    EXPECT_EQ(reports, QStringList{QStringLiteral("ok")}) << "the fourth, replaced, reports nothing";
}

TEST_F(RecoveryJournalBackgroundTest, failureIsReportedWithItsMessage)
{
    state.write(QStringLiteral("blocked"), "a file where the folder should be");
    QStringList failures;
    {
        RecoveryJournal blocked(state.file(QStringLiteral("blocked")));
        blocked.putInBackground(entry("ToDo.txt"), giving("x"), &context,
                                [&](const QString& failure) { failures.append(failure); });
        blocked.finishBackground();
        QCoreApplication::processEvents();
    }
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].contains(QStringLiteral("に書き込めません"))) << failures[0].toStdString();
}

TEST_F(RecoveryJournalBackgroundTest, journalEndsOnlyOnceItsWritesAreDone)
{
    const QByteArray large(3 * 1000 * 1000, 'x');
    {
        RecoveryJournal ending(state.path() + QStringLiteral("/recovery"));
        ending.putInBackground(entry("ToDo.txt"), giving(large), &context, [](const QString&) {});
    }
    const QList<RecoveryJournal::Entry> got = journal.entries(data.path());
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(got[0].bytes, large);
}

} // namespace
