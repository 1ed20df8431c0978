#include "platform/FileWatch.h"

#include "platform/FileReplace.h"
#include "support/TempFolder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// Long enough for the look twice a second to have run a few times.
constexpr int kQuiet = 1500;
constexpr int kPatience = 10000;

class FileWatchTest : public ::testing::Test {
protected:
    TempFolder dir;
    FileWatch watch;
    QSignalSpy spy{&watch, &FileWatch::fileChanged};

    // The next report, or nothing when none came.
    std::pair<QString, FileWatch::Change> next()
    {
        if (spy.isEmpty() && !spy.wait(kPatience))
            return {};
        const QList<QVariant> args = spy.takeFirst();
        return {args.at(0).toString(), args.at(1).value<FileWatch::Change>()};
    }
    bool quiet()
    {
        QTest::qWait(kQuiet);
        return spy.isEmpty();
    }
    static void setTime(const QString& path, const QDateTime& when)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(when, QFileDevice::FileModificationTime));
    }
};

using Change = FileWatch::Change;

TEST_F(FileWatchTest, newBytesAreToldAndATouchIsNot)
{
    dir.write(u"Memo.txt"_s, "one");
    const QString memo = dir.file(u"Memo.txt"_s);
    watch.setPaths({memo});
    EXPECT_TRUE(quiet());

    setTime(memo, QDateTime::currentDateTime().addSecs(-30)); // a touch
    EXPECT_TRUE(quiet());

    dir.write(u"Memo.txt"_s, "two");
    EXPECT_EQ(next(), std::pair(memo, Change::Changed));
    EXPECT_TRUE(quiet());

    // Same size, written back with the old time: still other bytes.
    const QDateTime old = QFileInfo(memo).lastModified();
    dir.write(u"Memo.txt"_s, "six");
    setTime(memo, old);
    EXPECT_EQ(next(), std::pair(memo, Change::Changed));
    EXPECT_TRUE(quiet());
}

TEST_F(FileWatchTest, aFileReplacedByARenameStaysWatched)
{
    dir.write(u"20261209.txt"_s, "one");
    const QString day = dir.file(u"20261209.txt"_s);
    watch.setPaths({day});
    for (const char* bytes : {"two", "three", "four"}) {
        ASSERT_TRUE(FileReplace::replace(day, bytes));
        EXPECT_EQ(next(), std::pair(day, Change::Changed)) << bytes;
    }
    // A sync tool putting the same bytes under the name changes nothing.
    ASSERT_TRUE(FileReplace::replace(day, "four"));
    EXPECT_TRUE(quiet());
}

TEST_F(FileWatchTest, filesAppearAndVanish)
{
    const QString plan = dir.file(u"Sch20261209.txt"_s);
    const QString todo = dir.file(u"ToDo.txt"_s);
    dir.write(u"ToDo.txt"_s, "x");
    watch.setPaths({plan, todo});
    EXPECT_EQ(watch.paths().size(), 2);

    dir.write(u"Sch20261209.txt"_s, "new");
    EXPECT_EQ(next(), std::pair(plan, Change::Appeared));
    ASSERT_TRUE(QFile::remove(todo));
    EXPECT_EQ(next(), std::pair(todo, Change::Vanished));
    ASSERT_TRUE(QFile::remove(plan));
    EXPECT_EQ(next(), std::pair(plan, Change::Vanished));
    // Something else where the file was is no file.
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"ToDo.txt"_s));
    EXPECT_TRUE(quiet());
}

TEST_F(FileWatchTest, aFolderRenamedAwayAndBackIsFollowed)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"data"_s));
    dir.write(u"data/Memo.txt"_s, "one");
    const QString memo = dir.file(u"data/Memo.txt"_s);
    watch.setPaths({memo});

    ASSERT_TRUE(QDir(dir.path()).rename(u"data"_s, u"moved"_s));
    EXPECT_EQ(next(), std::pair(memo, Change::Vanished));
    dir.write(u"moved/Memo.txt"_s, "changed while away"); // not the watched name
    EXPECT_TRUE(quiet());
    ASSERT_TRUE(QDir(dir.path()).rename(u"moved"_s, u"data"_s));
    EXPECT_EQ(next(), std::pair(memo, Change::Appeared));
    dir.write(u"data/Memo.txt"_s, "two");
    EXPECT_EQ(next(), std::pair(memo, Change::Changed));
}

TEST_F(FileWatchTest, theProgramsOwnWriteIsNotToldBack)
{
    dir.write(u"ToDo.txt"_s, "one");
    const QString todo = dir.file(u"ToDo.txt"_s);
    watch.setPaths({todo});
    ASSERT_TRUE(FileReplace::replace(todo, "mine"));
    watch.acknowledge(todo);
    EXPECT_TRUE(quiet());

    // A new set forgets the old one.
    const QString memo = dir.file(u"Memo.txt"_s);
    watch.setPaths({memo});
    dir.write(u"ToDo.txt"_s, "theirs");
    EXPECT_TRUE(quiet());
    dir.write(u"Memo.txt"_s, "memo");
    EXPECT_EQ(next(), std::pair(memo, Change::Appeared));
}

TEST_F(FileWatchTest, namesComingIntoOrLeavingTheFolderAreTold)
{
    QSignalSpy names(&watch, &FileWatch::folderNamesChanged);
    const QString todo = dir.file(u"ToDo.txt"_s);
    watch.setPaths({todo});
    // At once, before the folder's notice is armed: the next look still tells it.
    dir.write(u"20261209.txt"_s, "plan");
    ASSERT_TRUE(names.wait(kPatience));
    EXPECT_EQ(names.takeFirst().at(0).toString(), dir.path());
    QTest::qWait(kQuiet);
    names.clear();
    // Written in place: no name came or went.
    dir.write(u"20261209.txt"_s, "plan, longer");
    EXPECT_FALSE(names.wait(kQuiet));
    ASSERT_TRUE(QFile::remove(dir.file(u"20261209.txt"_s)));
    EXPECT_TRUE(names.wait(kPatience));
}

TEST_F(FileWatchTest, eachFileIsComparedWithWhatTheProgramRead)
{
    dir.write(u"ToDo.txt"_s, "read");
    dir.write(u"Memo.txt"_s, "large");
    const QString todo = dir.file(u"ToDo.txt"_s);
    const QString memo = dir.file(u"Memo.txt"_s);
    const DiskStamp read = DiskStamp::take(todo);
    // Changed after the program read it and before the watch began: told at the first look.
    dir.write(u"ToDo.txt"_s, "then");
    watch.setFiles({{todo, read}, {memo, std::nullopt}});
    EXPECT_EQ(next(), std::pair(todo, Change::Changed));
    EXPECT_TRUE(quiet());

    // Still being read, its bytes unknown: any move of the file is told...
    setTime(memo, QDateTime::currentDateTime().addSecs(-30));
    EXPECT_EQ(next(), std::pair(memo, Change::Changed));
    // ...until what was read is given; from then a touch is no change, new bytes are.
    watch.know(memo, DiskStamp::take(memo));
    setTime(memo, QDateTime::currentDateTime().addSecs(-60));
    EXPECT_TRUE(quiet());
    dir.write(u"Memo.txt"_s, "other");
    EXPECT_EQ(next(), std::pair(memo, Change::Changed));
}

} // namespace

TEST_F(FileWatchTest, aChangeJustBeforeTheWatchIsRenewedIsStillTold)
{
    dir.write(u"ToDo.txt"_s, "one");
    const QString todo = dir.file(u"ToDo.txt"_s);
    watch.setPaths({todo});
    EXPECT_TRUE(quiet());
    // A date change renews the watch while ToDo stays: what came before it must not be taken
    // as known.
    dir.write(u"ToDo.txt"_s, "two");
    watch.setPaths({todo, dir.file(u"20261210.txt"_s)});
    EXPECT_EQ(next(), std::pair(todo, Change::Changed));
    EXPECT_TRUE(quiet());
}
