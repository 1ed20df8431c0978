#include "mainwindow/model/RecoveryJournal.h"

#include "platform/Failure.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>

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

} // namespace
