#include "platform/FolderNotices.h"

#include "platform/FileReplace.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kPatience = 5000;
constexpr int kQuiet = 300;

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

class FolderNoticesTest : public ::testing::Test {
protected:
    // Arming happens off the caller's thread: followed a moment later.
    bool followsSoon(const QString& folder)
    {
        for (int waited = 0; !notices.follows(folder) && waited < kPatience; waited += 10)
            QTest::qWait(10);
        return notices.follows(folder);
    }

    TempFolder dir;
    FolderNotices notices;
    QSignalSpy spy{&notices, &FolderNotices::changed};
    QSignalSpy listChanges{&notices, &FolderNotices::namesChanged};

    // The names told for the folder until things are quiet.
    QStringList namesTold()
    {
        QStringList names;
        if (!spy.wait(kPatience))
            return names;
        do {
            while (!spy.isEmpty()) {
                const QList<QVariant> args = spy.takeFirst();
                names << args.at(0).toString() + u'|' + args.at(1).toString();
            }
        } while (spy.wait(kQuiet));
        return names;
    }
};

TEST_F(FolderNoticesTest, writesAndReplacesInTheFolderAreToldByName)
{
    dir.write(u"ToDo.txt"_s, "old");
    notices.setFolders({dir.path()});
    ASSERT_TRUE(followsSoon(dir.path()));
    dir.write(u"ToDo.txt"_s, "typed");
    EXPECT_TRUE(namesTold().contains(dir.path() + u"|ToDo.txt"_s));
    // Written in place: the folder's names stay as they were.
    EXPECT_TRUE(listChanges.isEmpty());
    // A replace by rename, as sync tools and the program's own save do, ends under the name.
    ASSERT_TRUE(FileReplace::replace(dir.file(u"Memo.txt"_s), "saved"));
    EXPECT_TRUE(namesTold().contains(dir.path() + u"|Memo.txt"_s));
    EXPECT_FALSE(listChanges.isEmpty());
    listChanges.clear();
    ASSERT_TRUE(QFile::remove(dir.file(u"Memo.txt"_s)));
    EXPECT_TRUE(namesTold().contains(dir.path() + u"|Memo.txt"_s));
    EXPECT_EQ(listChanges.size(), 1);
}

TEST_F(FolderNoticesTest, aFolderRemovedIsToldAndFollowedAgainOnceMadeAnew)
{
    const QString sub = dir.file(u"data"_s);
    ASSERT_TRUE(QDir().mkdir(sub));
    notices.setFolders({sub, dir.file(u"missing"_s)});
    EXPECT_TRUE(followsSoon(sub));
    EXPECT_FALSE(notices.follows(dir.file(u"missing"_s)));

    ASSERT_TRUE(QDir(sub).removeRecursively());
    EXPECT_TRUE(namesTold().contains(sub + u'|'));
    EXPECT_FALSE(notices.follows(sub));

    // Made anew: the same list takes it again, and the folder no longer wanted is let go.
    ASSERT_TRUE(QDir().mkdir(sub));
    notices.setFolders({sub});
    ASSERT_TRUE(followsSoon(sub));
    writeFile(sub + u"/20261209.txt"_s, "plan");
    EXPECT_TRUE(namesTold().contains(sub + u"|20261209.txt"_s));
    notices.setFolders({});
    EXPECT_FALSE(notices.follows(sub));
    writeFile(sub + u"/20261209.txt"_s, "again");
    EXPECT_FALSE(spy.wait(kQuiet * 3));
}

TEST_F(FolderNoticesTest, aFolderLetGoWhileBeingArmedIsNotFollowed)
{
    notices.setFolders({dir.path()});
    notices.setFolders({});
    QTest::qWait(kQuiet); // the arming has come back by now
    EXPECT_FALSE(notices.follows(dir.path()));
    dir.write(u"ToDo.txt"_s, "typed");
    EXPECT_FALSE(spy.wait(kQuiet * 3));
    // Wanted again: armed anew.
    notices.setFolders({dir.path()});
    ASSERT_TRUE(followsSoon(dir.path()));
    dir.write(u"ToDo.txt"_s, "again");
    EXPECT_TRUE(namesTold().contains(dir.path() + u"|ToDo.txt"_s));
}

} // namespace
