#include "schedule/DataFolderCheck.h"

#include "support/TempFolder.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

using DataFolderCheck::Finding;

TEST(DataFolderCheck, windowsPathsAreRecognised)
{
    for (const char* path : {"C:\\Program Files\\QuavScheduler\\", "c:/QuavScheduler/",
                             "D:", "\\\\server\\share\\予定", "予定表\\2001"})
        EXPECT_TRUE(DataFolderCheck::isWindowsPath(QString::fromUtf8(path))) << path;
    for (const char* path : {"/home/user/予定/", "relative/folder", "/mnt/c:/x", ""})
        EXPECT_FALSE(DataFolderCheck::isWindowsPath(QString::fromUtf8(path))) << path;
}

TEST(DataFolderCheck, windowsPathOrEmptyValueTakesTheSettingsFolderOnlyWhenTheDayFilesLieThere)
{
    TempFolder settings;
    const QString win = QStringLiteral("C:\\Program Files\\QuavScheduler\\");
    EXPECT_EQ(DataFolderCheck::check(win, settings.path(), {}).finding, Finding::WindowsPath);
    EXPECT_EQ(DataFolderCheck::check(QString(), settings.path(), {}).finding, Finding::Empty);
    EXPECT_EQ(DataFolderCheck::check(QStringLiteral("  "), settings.path(), {}).finding, Finding::Empty);
    // Files of other kinds are no sign of a data folder.
    settings.write(QStringLiteral("QuavScheduler.ini"), "");
    settings.write(QStringLiteral("2001.txt"), "");
    EXPECT_EQ(DataFolderCheck::check(win, settings.path(), {}).finding, Finding::WindowsPath);
    for (const char* name : {"200102.csv", "Sch20010203.txt", "anniv0203.txt", "Memo.txt"}) {
        TempFolder beside;
        beside.write(QLatin1String(name), "x");
        for (const QString& stored : {win, QString()}) {
            const DataFolderCheck::Result r = DataFolderCheck::check(stored, beside.path(), {});
            EXPECT_EQ(r.finding, Finding::Usable) << name;
            EXPECT_EQ(r.folder, beside.path() + u'/') << name;
        }
    }
}

TEST(DataFolderCheck, missingRelativeAndExistingFolders)
{
    TempFolder settings;
    QDir(settings.path()).mkpath(QStringLiteral("data"));
    const DataFolderCheck::Result gone =
        DataFolderCheck::check(settings.file(QStringLiteral("gone/")), settings.path(), {});
    EXPECT_EQ(gone.finding, Finding::Missing);
    const DataFolderCheck::Result kept =
        DataFolderCheck::check(settings.file(QStringLiteral("data")), settings.path(), {});
    EXPECT_EQ(kept.finding, Finding::Usable);
    EXPECT_EQ(kept.folder, settings.file(QStringLiteral("data")));
    // Relative to the settings file, never to the current folder.
    const DataFolderCheck::Result relative =
        DataFolderCheck::check(QStringLiteral("data/"), settings.path(), {});
    EXPECT_EQ(relative.finding, Finding::Usable);
    EXPECT_EQ(QDir::cleanPath(relative.folder), settings.file(QStringLiteral("data")));
    EXPECT_EQ(DataFolderCheck::check(QStringLiteral("nothing/"), settings.path(), {}).finding,
              Finding::Missing);
    // A Windows-looking name that exists here is a folder like any other.
    QDir(settings.path()).mkpath(QStringLiteral("a\\b"));
    EXPECT_EQ(DataFolderCheck::check(settings.file(QStringLiteral("a\\b")), settings.path(), {}).finding,
              Finding::Usable);
}

TEST(DataFolderCheck, emptyMountFolderOfADiskNotMountedIsFound)
{
    TempFolder root;
    QDir(root.path()).mkpath(QStringLiteral("disk"));
    const QString disk = root.file(QStringLiteral("disk"));
    const QString escaped = QString(disk).replace(u' ', QStringLiteral("\\040"));
    DataFolderCheck::Mounts mounts;
    mounts.fstab = QStringLiteral("# comment ") + disk + QStringLiteral("\nUUID=1234 ") + escaped +
                   QStringLiteral(" ext4 defaults,nofail 0 2\n");
    EXPECT_TRUE(DataFolderCheck::isBareMountPoint(disk, mounts));
    EXPECT_TRUE(DataFolderCheck::isBareMountPoint(disk + u'/', mounts));
    EXPECT_EQ(DataFolderCheck::check(disk + u'/', root.path(), mounts).finding, Finding::BareMountPoint);

    // Mounted: the disk's own folder.
    DataFolderCheck::Mounts mounted = mounts;
    mounted.mountinfo = QStringLiteral("36 25 8:17 / ") + escaped +
                        QStringLiteral(" rw,relatime shared:1 - ext4 /dev/sdb1 rw\n");
    EXPECT_FALSE(DataFolderCheck::isBareMountPoint(disk, mounted));
    // Not empty: something the user keeps there.
    root.write(QStringLiteral("disk/ToDo.txt"), "x");
    EXPECT_FALSE(DataFolderCheck::isBareMountPoint(disk, mounts));
    // An empty folder that is no place for disks.
    QDir(root.path()).mkpath(QStringLiteral("plain"));
    EXPECT_FALSE(DataFolderCheck::isBareMountPoint(root.file(QStringLiteral("plain")), mounts));
}

TEST(DataFolderCheck, messageNamesTheFolderAndTheDefault)
{
    const QString text = DataFolderCheck::message(Finding::Missing, QStringLiteral("/media/u/DISK/予定/"),
                                                  QStringLiteral("/home/u/.local/share/QuavScheduler/"));
    EXPECT_TRUE(text.contains(QStringLiteral("\"/media/u/DISK/予定/\"が見つかりません")));
    EXPECT_TRUE(text.contains(QStringLiteral("/home/u/.local/share/QuavScheduler/")));
    EXPECT_TRUE(DataFolderCheck::message(Finding::Usable, {}, {}).isEmpty());
}

} // namespace
