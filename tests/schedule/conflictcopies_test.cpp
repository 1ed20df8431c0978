#include "schedule/ConflictCopies.h"

#include "support/TempFolder.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

struct Case {
    const char* copy;
    const char* file; // nullptr: not a copy of a data file
};

const Case kCopies[] = {
    // this program's own, kept by 両方残す
    {"20261209 (QuavSchedulerの入力 2026-12-09 101010).txt", "20261209.txt"},
    {"ToDo (QuavSchedulerの入力 2026-12-09 101010 2).txt", "ToDo.txt"},
    {"202612 (QuavSchedulerの入力 2026-12-09 235959).csv", "202612.csv"},
    // Syncthing
    {"20261209.sync-conflict-20261209-101010-ABCDEFG.txt", "20261209.txt"},
    {"Sch20261209.sync-conflict-20261210-235959-Z2345X7.txt", "Sch20261209.txt"},
    {"202612.sync-conflict-20261209-000000-AAAAAAA.csv", "202612.csv"},
    {"ToDo.sync-conflict-20261209-101010-ABCDEFG.txt", "ToDo.txt"},
    // Dropbox, with and without who made it, and numbered when taken
    {"20261209 (conflicted copy 2026-12-09).txt", "20261209.txt"},
    {"Memo (Alice's conflicted copy 2026-12-09).txt", "Memo.txt"},
    {"Anniv1209 (laptop conflicted copy 2026-12-09).txt", "Anniv1209.txt"},
    {"20261209 (Alice's conflicted copy 2026-12-09) (1).txt", "20261209.txt"},
    {"202612 (conflicted copy 2026-12-09).csv", "202612.csv"},
    // Nextcloud
    {"20261209 (conflicted copy 2026-12-09 101010).txt", "20261209.txt"},
    {"ToDo (conflicted copy alice 2026-12-09 101010).txt", "ToDo.txt"},
    // numbered copies
    {"20261209 (1).txt", "20261209.txt"},
    {"Sch20261209 (12).txt", "Sch20261209.txt"},
    {"202612 (2).csv", "202612.csv"},
    // Unison: conflict copies and backups
    {"20261209 (conflict_on_2026-12-09).txt", "20261209.txt"},
    {"ToDo (conflict #1_on_2026-12-09).txt", "ToDo.txt"},
    {".bak.0.20261209.txt", "20261209.txt"},
    {".bak.12.Anniv0229.txt", "Anniv0229.txt"},
    {"Memo.txt.1.unison.bak", "Memo.txt"},
    // a copy of a copy
    {"20261209 (1) (1).txt", "20261209.txt"},
    {"20261209 (1).sync-conflict-20261209-101010-ABCDEFG.txt", "20261209.txt"},
};

const char* const kForeign[] = {
    "20261209.txt", // the data file itself
    "ToDo.txt",
    "notes (1).txt", // copies of files that are no data file's
    "notes.sync-conflict-20261209-101010-ABCDEFG.txt",
    "QuavScheduler (conflicted copy 2026-12-09).ini",
    "~QuavSchedulerWork (1).txt",
    "20261209 (1).csv", // the base would be 20261209.csv, no data file
    "20261309 (1).txt", // no day
    "todo (1).txt",     // another case
    // malformed stamps
    "20261209.sync-conflict-20261309-101010-ABCDEFG.txt",
    "20261209.sync-conflict-20261209-246060-ABCDEFG.txt",
    "20261209.sync-conflict-20261209-101010-ABCDEF.txt",
    "20261209.sync-conflict-20261209-101010-abcdefg.txt",
    "20261209.sync-conflict-20261209-101010-ABCDEF1.txt",
    "20261209 (conflicted copy 2026-02-30).txt",
    "20261209 (conflicted copy 2026-12-09 251010).txt",
    "20261209 (conflicted copy 26-12-09).txt",
    "20261209 (conflicted copy).txt",
    "20261209 (0).txt",
    "20261209 (01).txt",
    "20261209(1).txt",
    "20261209 (1) .txt",
    "20261209 (conflict_on_2026-13-01).txt",
    "20261209 (QuavSchedulerの入力 2026-12-09 101010 1).txt", // numbered from 2
    "20261209 (QuavSchedulerの入力 2026-12-09).txt",
    ".bak.x.20261209.txt",
    ".bak.1.notes.txt",
    "20261209.txt.bak",
    "",
};

TEST(ConflictCopies, everyFormNamesItsDataFile)
{
    for (const Case& c : kCopies) {
        const std::optional<QString> file = ConflictCopies::fileOf(QString::fromUtf8(c.copy));
        ASSERT_TRUE(file.has_value()) << c.copy;
        EXPECT_EQ(*file, QString::fromUtf8(c.file)) << c.copy;
    }
}

TEST(ConflictCopies, foreignNamesAreRefused)
{
    for (const char* name : kForeign)
        EXPECT_FALSE(ConflictCopies::fileOf(QString::fromUtf8(name)).has_value()) << name;
}

TEST(ConflictCopies, copiesOfOneFileAreListedFromTheFolder)
{
    TempFolder dir;
    for (const char* name : {"20261209.txt", "20261209 (1).txt", ".bak.1.20261209.txt",
                             "20261209.sync-conflict-20261209-101010-ABCDEFG.txt", "Sch20261209 (1).txt",
                             "20261209 (1).csv", "notes (1).txt"})
        dir.write(QString::fromUtf8(name), "x");
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"20261209 (2).txt"_s)); // a folder is no copy
    EXPECT_EQ(ConflictCopies::copiesOf(dir.path(), u"20261209.txt"_s),
              QStringList({u".bak.1.20261209.txt"_s, u"20261209 (1).txt"_s,
                           u"20261209.sync-conflict-20261209-101010-ABCDEFG.txt"_s}));
    EXPECT_EQ(ConflictCopies::copiesOf(dir.path(), u"Sch20261209.txt"_s),
              QStringList({u"Sch20261209 (1).txt"_s}));
    EXPECT_TRUE(ConflictCopies::copiesOf(dir.path(), u"ToDo.txt"_s).isEmpty());
    EXPECT_TRUE(ConflictCopies::copiesOf(dir.file(u"missing"_s), u"20261209.txt"_s).isEmpty());

    // The whole folder at once: by data file, then by copy.
    using F = ConflictCopies::Found;
    EXPECT_EQ(
        ConflictCopies::inFolder(dir.path()),
        QList<F>({F{u".bak.1.20261209.txt"_s, u"20261209.txt"_s}, F{u"20261209 (1).txt"_s, u"20261209.txt"_s},
                  F{u"20261209.sync-conflict-20261209-101010-ABCDEFG.txt"_s, u"20261209.txt"_s},
                  F{u"Sch20261209 (1).txt"_s, u"Sch20261209.txt"_s}}));
    EXPECT_TRUE(ConflictCopies::inFolder(dir.file(u"missing"_s)).isEmpty());
}

} // namespace
