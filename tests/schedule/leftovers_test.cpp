#include "schedule/Leftovers.h"

#include "schedule/RecoveryJournal.h"
#include "platform/FileReplace.h"
#include "support/TempFolder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

class LeftoversTest : public ::testing::Test {
protected:
    TempFolder state;
    TempFolder data;
    RecoveryJournal journal{state.path() + u"/recovery"_s};

    void age(const QString& name, int seconds) const
    {
        QFile f(data.file(name));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.setFileTime(QDateTime::currentDateTime().addSecs(-seconds), QFileDevice::FileModificationTime);
    }
    QStringList journaled() const
    {
        QStringList out;
        for (const RecoveryJournal::Entry& e : journal.entries(data.path()))
            out << QFileInfo(e.target).fileName() + u'=' + QString::fromUtf8(e.bytes);
        out.sort();
        return out;
    }
};

TEST_F(LeftoversTest, hiddenAndEarlierVisibleTemporariesAreBothTakenIn)
{
    data.write(u"ToDo.txt"_s, "old todo");
    age(u"ToDo.txt"_s, 60);
    data.write(u"20010203.txt"_s, "old diary");
    age(u"20010203.txt"_s, 60);
    data.write(u"200102.csv"_s, "month");
    const QString hidden = FileReplace::temporaryName(u"ToDo.txt", u"Ab12Cd");
    ASSERT_TRUE(hidden.startsWith(u'.'));
    data.write(hidden, "new todo");
    data.write(u"20010203.txt.qZ3xWk"_s, "new diary"); // as earlier versions left it
    // Stale: the month file was written after it.
    data.write(u"200102.csv.Tr0uBl"_s, "older month");
    age(u"200102.csv.Tr0uBl"_s, 3600);

    Leftovers::adopt(journal, data.path());

    EXPECT_EQ(journaled(), QStringList({u"20010203.txt=new diary"_s, u"ToDo.txt=new todo"_s}));
    QStringList left = QDir(data.path()).entryList(QDir::Files | QDir::Hidden);
    left.sort();
    EXPECT_EQ(left, QStringList({u"200102.csv"_s, u"20010203.txt"_s, u"ToDo.txt"_s}));
    EXPECT_EQ(data.read(u"20010203.txt"_s), "old diary"); // offered, never written over
}

TEST_F(LeftoversTest, theUsersOwnFilesWithATemporaryShapeStay)
{
    data.write(u"ToDo.txt"_s, "todo");
    age(u"ToDo.txt"_s, 60);
    const QStringList theirs = {
        u"ToDo.txt.backup"_s,          u"ToDo.txt.Backup"_s, u"ToDo.txt.BACKUP"_s, u"ToDo.txt.202612"_s,
        u"notes.txt.Ab12Cd"_s,    // no data file's
        u"20010230.txt.Ab12Cd"_s, // no day's
        u"QuavScheduler.ini.Ab12Cd"_s, u"ToDo.txt.Ab12C"_s,  u"ToDo.txtAb12Cd"_s,
    };
    for (const QString& name : theirs)
        data.write(name, "the user's");

    Leftovers::adopt(journal, data.path());

    EXPECT_TRUE(journaled().isEmpty());
    for (const QString& name : theirs)
        EXPECT_TRUE(data.exists(name)) << name.toStdString();
}

} // namespace
