#include "schedule/AppPaths.h"

#include "resources/AppId.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

TEST(AppPaths, writableProgramFolderKeepsEverythingBesideTheProgram)
{
    TempFolder dir;
    const AppPaths paths =
        AppPaths::derive(dir.path(), dir.file(QStringLiteral("config")), dir.file(QStringLiteral("data")));
    EXPECT_FALSE(paths.perUser);
    EXPECT_EQ(paths.iniPath, dir.file(QStringLiteral("QuavScheduler.ini")));
    EXPECT_EQ(paths.dataFolder, dir.path() + u'/');
    EXPECT_FALSE(dir.exists(QStringLiteral("config")));
}

TEST(AppPaths, unusableProgramFolderMovesToPerUserFolders)
{
    TempFolder dir;
    dir.write(QStringLiteral("program"), "a regular file, not a folder");
    const AppPaths paths =
        AppPaths::derive(dir.file(QStringLiteral("program")), dir.file(QStringLiteral("config")),
                         dir.file(QStringLiteral("data")));
    EXPECT_TRUE(paths.perUser);
    EXPECT_EQ(paths.iniPath, dir.file(QStringLiteral("config/QuavScheduler/QuavScheduler.ini")));
    EXPECT_EQ(paths.dataFolder, dir.file(QStringLiteral("data/QuavScheduler/")));
    EXPECT_TRUE(QFileInfo(dir.file(QStringLiteral("data/QuavScheduler"))).isDir());
    EXPECT_TRUE(QFileInfo(dir.file(QStringLiteral("config/QuavScheduler"))).isDir());
}

// An install under a prefix keeps the program in bin/ and its desktop entry in share/; that
// folder may be writable (root, ~/.local) and must still not collect settings and notes.
TEST(AppPaths, installedProgramUsesPerUserFoldersEvenWhenItsFolderIsWritable)
{
    struct Case {
        const char* entry; // desktop entry created under <prefix>/share/applications
        bool perUser;
    };
    const Case cases[] = {
        {QUAV_APP_ID ".desktop", true},
        {"org.example.Other.desktop", false}, // a portable copy in ~/bin beside other programs
        {"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        TempFolder dir;
        ASSERT_TRUE(QDir().mkpath(dir.file(QStringLiteral("prefix/bin"))));
        ASSERT_TRUE(QDir().mkpath(dir.file(QStringLiteral("prefix/share/applications"))));
        if (*c.entry)
            dir.write(QStringLiteral("prefix/share/applications/") + QString::fromUtf8(c.entry),
                      "[Desktop Entry]\n");
        const QString program = dir.file(QStringLiteral("prefix/bin"));
        const AppPaths paths =
            AppPaths::derive(program, dir.file(QStringLiteral("config")), dir.file(QStringLiteral("data")));
        EXPECT_EQ(paths.perUser, c.perUser);
        EXPECT_EQ(paths.iniPath, c.perUser
                                     ? dir.file(QStringLiteral("config/QuavScheduler/QuavScheduler.ini"))
                                     : program + QStringLiteral("/QuavScheduler.ini"));
        EXPECT_FALSE(QFileInfo::exists(program + QStringLiteral("/QuavScheduler.ini")));
    }
}

} // namespace
