#include "mainwindow/model/AppPaths.h"

#include "support/TempFolder.h"

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

} // namespace
