#include "platform/AnsiText.h"
#include "platform/FileBytes.h"
#include "platform/FileReplace.h"
#include "platform/Failure.h"

#include "support/TempFolder.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <functional>

namespace {
int g_syncFailure = 0;          // errno the disk sync fails with; 0 lets it through
std::function<void()> g_atSync; // runs between the write and the rename
} // namespace

// Stands in for the C library's: a disk that reports an error on the sync.
extern "C" int fdatasync(int fd)
{
    if (g_atSync)
        g_atSync();
    if (g_syncFailure != 0) {
        errno = g_syncFailure;
        return -1;
    }
    return int(::syscall(SYS_fdatasync, fd));
}

namespace {

mode_t modeOf(const QString& path)
{
    struct stat st;
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0) << path.toStdString();
    return st.st_mode & 07777;
}

QStringList entriesOf(const TempFolder& dir)
{
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

TEST(FileReplace, newFilesArePrivateAndReplacedOnesKeepTheirMode)
{
    const mode_t before = ::umask(022);
    TempFolder dir;
    AnsiText::writeBytes(dir.file(QStringLiteral("new.txt")), "x");
    EXPECT_EQ(modeOf(dir.file(QStringLiteral("new.txt"))), 0600u);

    dir.write(QStringLiteral("shared.txt"), "old");
    ::chmod(QFile::encodeName(dir.file(QStringLiteral("shared.txt"))).constData(), 0664);
    AnsiText::writeBytes(dir.file(QStringLiteral("shared.txt")), "new");
    EXPECT_EQ(modeOf(dir.file(QStringLiteral("shared.txt"))), 0664u);
    EXPECT_EQ(dir.read(QStringLiteral("shared.txt")), "new");

    // The journal's files are private whatever they were.
    ASSERT_TRUE(
        FileReplace::replace(dir.file(QStringLiteral("shared.txt")), "j", FileReplace::Access::Private));
    EXPECT_EQ(modeOf(dir.file(QStringLiteral("shared.txt"))), 0600u);
    EXPECT_EQ(entriesOf(dir), QStringList({QStringLiteral("new.txt"), QStringLiteral("shared.txt")}));
    ::umask(before);
}

TEST(FileReplace, aLinkIsReplacedAtItsTargetAndNoDeviceIsWrittenOver)
{
    TempFolder dir;
    TempFolder elsewhere;
    elsewhere.write(QStringLiteral("Memo.txt"), "old");
    ASSERT_TRUE(
        QFile::link(elsewhere.file(QStringLiteral("Memo.txt")), dir.file(QStringLiteral("Memo.txt"))));
    AnsiText::writeBytes(dir.file(QStringLiteral("Memo.txt")), "new");
    EXPECT_TRUE(QFileInfo(dir.file(QStringLiteral("Memo.txt"))).isSymLink());
    EXPECT_EQ(elsewhere.read(QStringLiteral("Memo.txt")), "new");

    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), dir.file(QStringLiteral("20010203.txt"))));
    EXPECT_THROW(AnsiText::writeBytes(dir.file(QStringLiteral("20010203.txt")), "x"), EInOutError);
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.file(QStringLiteral("ToDo.txt"))).constData(), 0600), 0);
    EXPECT_FALSE(FileReplace::replace(dir.file(QStringLiteral("ToDo.txt")), "x"));
    EXPECT_THROW(AnsiText::writeBytes(dir.path(), "x"), EInOutError);
}

TEST(FileReplace, aFailedDiskSyncLeavesTheOldFileAndNoTemporary)
{
    TempFolder dir;
    dir.write(QStringLiteral("ToDo.txt"), "old");
    g_syncFailure = EIO;
    EXPECT_THROW(AnsiText::writeBytes(dir.file(QStringLiteral("ToDo.txt")), "new"), EInOutError);
    g_syncFailure = 0;
    EXPECT_EQ(dir.read(QStringLiteral("ToDo.txt")), "old");
    EXPECT_EQ(entriesOf(dir), QStringList({QStringLiteral("ToDo.txt")}));
}

TEST(FileReplace, partsAreWrittenInTheirOrderAndAFailureLeavesTheOldFile)
{
    TempFolder dir;
    const QString path = dir.file(QStringLiteral("parts"));
    ASSERT_TRUE(FileReplace::replace(path, QByteArrayView("old")));
    ASSERT_TRUE(
        FileReplace::replace(path, {QByteArrayView("head\n"), QByteArrayView(), QByteArrayView("body")}));
    EXPECT_EQ(dir.read(QStringLiteral("parts")), QByteArray("head\nbody"));
    g_syncFailure = EIO;
    EXPECT_FALSE(FileReplace::replace(path, {QByteArrayView("new "), QByteArrayView("text")}));
    g_syncFailure = 0;
    EXPECT_EQ(dir.read(QStringLiteral("parts")), QByteArray("head\nbody"));
    EXPECT_EQ(entriesOf(dir), QStringList{QStringLiteral("parts")});
}

TEST(FileReplace, temporariesAreKnownByTheirExactName)
{
    const QString temp = FileReplace::temporaryName(u"Memo.txt", u"Ab12Cd");
    EXPECT_EQ(FileReplace::fileOfTemporary(temp), QStringLiteral("Memo.txt"));
    // Names a user or another program gives its files.
    for (const char* name : {"Memo.txt.backup", "Memo.txt.Ab12Cd", ".Memo.txt.swp", ".Memo.txt.quav-Ab12C",
                             ".Memo.txt.quav-Ab12C!", "..quav-Ab12Cd", ".Memo.txt.quav-Ab12Cde"})
        EXPECT_TRUE(FileReplace::fileOfTemporary(QString::fromLatin1(name)).isEmpty()) << name;
}

TEST(FileReplace, aSaveShowsNoHalfWrittenNameInTheFolder)
{
    TempFolder dir;
    dir.write(QStringLiteral("20010203.txt"), "old");
    QStringList seen;
    g_atSync = [&] { seen = entriesOf(dir); };
    AnsiText::writeBytes(dir.file(QStringLiteral("20010203.txt")), "new");
    // A kill right here leaves only a hidden name, which a sync tool leaves alone.
    seen.sort();
    ASSERT_EQ(seen.size(), 2) << seen.join(u' ').toStdString();
    EXPECT_TRUE(seen.front().startsWith(u'.')) << seen.front().toStdString();
    EXPECT_EQ(FileReplace::fileOfTemporary(seen.front()), QStringLiteral("20010203.txt"));
    EXPECT_EQ(seen.back(), QStringLiteral("20010203.txt"));

    // A first write too: nothing visible until the file is whole.
    g_atSync = [&] { seen = entriesOf(dir); };
    AnsiText::writeBytes(dir.file(QStringLiteral("ToDo.txt")), "todo");
    g_atSync = nullptr;
    seen.sort();
    ASSERT_EQ(seen.size(), 2);
    EXPECT_EQ(FileReplace::fileOfTemporary(seen.front()), QStringLiteral("ToDo.txt"));
    EXPECT_EQ(seen.back(), QStringLiteral("20010203.txt"));
    EXPECT_EQ(entriesOf(dir), QStringList({QStringLiteral("20010203.txt"), QStringLiteral("ToDo.txt")}));
}

TEST(FileReplace, earlierVisibleTemporariesAreKnownButNoWordIs)
{
    EXPECT_EQ(FileReplace::fileOfEarlierTemporary(u"Memo.txt.Ab12Cd"), QStringLiteral("Memo.txt"));
    EXPECT_EQ(FileReplace::fileOfEarlierTemporary(u"200102.csv.qZ3xWk"), QStringLiteral("200102.csv"));
    EXPECT_EQ(FileReplace::fileOfEarlierTemporary(u"Memo.txt.ABCDE1"), QStringLiteral("Memo.txt"));
    for (const char* name :
         {"Memo.txt.backup", "Memo.txt.Backup", "Memo.txt.BACKUP", "Memo.txt.202612", "Memo.txt.Ab12C",
          "Memo.txt.Ab12Cd!", ".Memo.txt.Ab12Cd", ".Ab12Cd", "Memo.txtAb12Cd", "Memo.txt.Ab-2Cd"})
        EXPECT_TRUE(FileReplace::fileOfEarlierTemporary(QString::fromLatin1(name)).isEmpty()) << name;
}

TEST(FileReplace, privateFoldersAreMadeAndClosed)
{
    const mode_t before = ::umask(022);
    TempFolder dir;
    const QString deep = dir.file(QStringLiteral("a/b/c"));
    ASSERT_TRUE(FileReplace::makePrivateFolders(deep));
    EXPECT_EQ(modeOf(dir.file(QStringLiteral("a"))), 0700u);
    EXPECT_EQ(modeOf(deep), 0700u);
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("open")));
    ::chmod(QFile::encodeName(dir.file(QStringLiteral("open"))).constData(), 0755);
    EXPECT_TRUE(FileReplace::makeFolderPrivate(dir.file(QStringLiteral("open"))));
    EXPECT_EQ(modeOf(dir.file(QStringLiteral("open"))), 0700u);
    dir.write(QStringLiteral("file"), "");
    EXPECT_FALSE(FileReplace::makePrivateFolders(dir.file(QStringLiteral("file/sub"))));
    ::umask(before);
}

TEST(FileBytes, onlyRegularFilesWithinTheLimitAreRead)
{
    TempFolder dir;
    QByteArray bytes;
    FileBytes::Facts facts;
    FileBytes::Refusal why = FileBytes::Refusal::None;
    // A pipe without a writer would block a plain open for ever.
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.file(QStringLiteral("Memo.txt"))).constData(), 0600), 0);
    EXPECT_EQ(FileBytes::readWithFacts(QFile::encodeName(dir.file(QStringLiteral("Memo.txt"))), bytes, facts,
                                       FileBytes::kDefaultLimit, &why),
              FileBytes::Outcome::Failed);
    EXPECT_EQ(why, FileBytes::Refusal::NotRegular);
    EXPECT_FALSE(FileBytes::read(QFile::encodeName(dir.file(QStringLiteral("Memo.txt"))), bytes));
    EXPECT_THROW(AnsiText::readBytes(dir.file(QStringLiteral("Memo.txt"))), EInOutError);
    // A device that never ends.
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), dir.file(QStringLiteral("20010203.txt"))));
    EXPECT_EQ(FileBytes::readWithFacts(QFile::encodeName(dir.file(QStringLiteral("20010203.txt"))), bytes,
                                       facts, FileBytes::kDefaultLimit, &why),
              FileBytes::Outcome::Failed);
    EXPECT_EQ(why, FileBytes::Refusal::NotRegular);

    dir.write(QStringLiteral("big"), QByteArray(1001, 'x'));
    EXPECT_FALSE(FileBytes::read(QFile::encodeName(dir.file(QStringLiteral("big"))), bytes, 1000, &why));
    EXPECT_EQ(why, FileBytes::Refusal::TooLarge);
    EXPECT_TRUE(FileBytes::read(QFile::encodeName(dir.file(QStringLiteral("big"))), bytes, 1001, &why));
    EXPECT_EQ(bytes.size(), 1001);
    try {
        AnsiText::readBytes(dir.file(QStringLiteral("big")), 1000);
        ADD_FAILURE() << "read past the limit";
    } catch (const EInOutError& failure) {
        EXPECT_TRUE(failure.message().contains(QStringLiteral("大きすぎる")));
    }
}

} // namespace
