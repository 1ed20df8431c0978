#include "platform/PrivateFolder.h"

#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

mode_t modeOf(const QString& path)
{
    struct stat st {};
    EXPECT_EQ(::lstat(QFile::encodeName(path).constData(), &st), 0);
    return st.st_mode & 07777;
}

void setMode(const QString& path, mode_t mode)
{
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
}

TEST(PrivateFolder, missingFolderIsMadeForTheUserAlone)
{
    TempFolder dir;
    const QString folder = dir.file(QStringLiteral("cache/QuavScheduler/instance-host"));
    EXPECT_EQ(PrivateFolder::ensure(folder), folder);
    EXPECT_EQ(modeOf(folder), mode_t(0700));
    // Once made, the same folder is taken again.
    EXPECT_EQ(PrivateFolder::ensure(folder), folder);
}

TEST(PrivateFolder, foldersOthersCouldUseAreRefusedOrTightened)
{
    TempFolder dir;
    QDir(dir.path()).mkpath(QStringLiteral("readable"));
    setMode(dir.file(QStringLiteral("readable")), 0755);
    // Nobody else could write there: made private.
    EXPECT_EQ(PrivateFolder::ensure(dir.file(QStringLiteral("readable"))),
              dir.file(QStringLiteral("readable")));
    EXPECT_EQ(modeOf(dir.file(QStringLiteral("readable"))), mode_t(0700));

    for (const mode_t mode : {mode_t(0777), mode_t(01777), mode_t(0770), mode_t(0702)}) {
        QDir(dir.path()).mkpath(QStringLiteral("open"));
        setMode(dir.file(QStringLiteral("open")), mode);
        EXPECT_EQ(PrivateFolder::ensure(dir.file(QStringLiteral("open"))), QString()) << std::oct << mode;
        EXPECT_EQ(modeOf(dir.file(QStringLiteral("open"))), mode) << "left as it was";
    }

    // A link planted where the folder belongs, even to a private folder.
    QDir(dir.path()).mkpath(QStringLiteral("elsewhere"));
    setMode(dir.file(QStringLiteral("elsewhere")), 0700);
    QFile::link(dir.file(QStringLiteral("elsewhere")), dir.file(QStringLiteral("link")));
    EXPECT_EQ(PrivateFolder::ensure(dir.file(QStringLiteral("link"))), QString());
    dir.write(QStringLiteral("plain"), "");
    EXPECT_EQ(PrivateFolder::ensure(dir.file(QStringLiteral("plain"))), QString());
    EXPECT_EQ(PrivateFolder::ensure(QStringLiteral("relative/folder")), QString());
}

TEST(PrivateFolder, anotherUsersFolderIsRefused)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can give a folder to another user";
    TempFolder dir;
    const QString folder = dir.file(QStringLiteral("taken"));
    QDir(dir.path()).mkpath(QStringLiteral("taken"));
    setMode(folder, 0700);
    ASSERT_EQ(::chown(QFile::encodeName(folder).constData(), 65534, 65534), 0);
    EXPECT_EQ(PrivateFolder::ensure(folder), QString());
    EXPECT_EQ(PrivateFolder::choose(folder, {dir.file(QStringLiteral("mine"))}),
              dir.file(QStringLiteral("mine")));
}

TEST(PrivateFolder, runtimeFolderFirstThenTheFirstFallbackThatServes)
{
    TempFolder dir;
    QDir(dir.path()).mkpath(QStringLiteral("runtime"));
    setMode(dir.file(QStringLiteral("runtime")), 0700);
    QDir(dir.path()).mkpath(QStringLiteral("shared"));
    setMode(dir.file(QStringLiteral("shared")), 0777);
    const QString fallback = dir.file(QStringLiteral("home/cache/QuavScheduler"));

    EXPECT_EQ(PrivateFolder::choose(dir.file(QStringLiteral("runtime")), {fallback}),
              dir.file(QStringLiteral("runtime")));
    EXPECT_FALSE(QFileInfo::exists(fallback));
    // No runtime folder, or one anybody may write: never the shared folder, the user's own.
    EXPECT_EQ(PrivateFolder::choose(QString(), {dir.file(QStringLiteral("shared")), fallback}), fallback);
    EXPECT_EQ(PrivateFolder::choose(dir.file(QStringLiteral("shared")), {fallback}), fallback);
    EXPECT_EQ(modeOf(dir.file(QStringLiteral("shared"))), mode_t(0777))
        << "the system's folder is not changed";
    EXPECT_EQ(PrivateFolder::choose(QString(), {dir.file(QStringLiteral("shared"))}), QString());
}

} // namespace
