#include "MainFormFixture.h"

#include "schedule/RecoveryJournal.h"
#include "platform/AnsiText.h"
#include "platform/FileReplace.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>

namespace {

class HostileFilesTest : public MainFormFixture {
protected:
    QList<RecoveryJournal::Entry> entries() const { return form->journal().entries(folder()); }
    static mode_t modeOf(const QString& path)
    {
        struct stat st;
        EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
        return st.st_mode & 07777;
    }
};

TEST_F(HostileFilesTest, pageTextGoesToTheFileExactlyAsTyped)
{
    const QString odd = QStringLiteral("a\u00A0b\u2028c\u2029d\uFDD0e");
    dir.write(QStringLiteral("Memo.txt"), AnsiText::encode(odd));
    TMainForm& f = start();
    type(memo(f, "Memo3"), QStringLiteral("\u00A0!"));
    type(memo(f, "Memo2"), QStringLiteral("x\u00A0y"));
    changeDate(QDate(2001, 2, 4));
    EXPECT_EQ(AnsiText::decode(file("Memo.txt")), odd + QStringLiteral("\u00A0!"));
    EXPECT_EQ(AnsiText::decode(file("ToDo.txt")), QStringLiteral("x\u00A0y"));
}

TEST_F(HostileFilesTest, pipeAndDeviceAsDayFilesNeitherHangNorAreReplaced)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.file(QStringLiteral("Memo.txt"))).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), dir.file(QStringLiteral("20010203.txt"))));
    TMainForm& f = start();
    EXPECT_TRUE(memo(f, "Memo3")->document()->isEmpty());
    EXPECT_TRUE(memo(f, "Memo7")->document()->isEmpty());
    EXPECT_EQ(messages.count(QStringLiteral("ファイル\"") + dir.file(QStringLiteral("Memo.txt")) +
                             QStringLiteral("\"を読み込めませんでした。")),
              1);
    changeDate(QDate(2001, 2, 4));
    EXPECT_TRUE(closeForm());
    EXPECT_TRUE(QFileInfo(dir.file(QStringLiteral("20010203.txt"))).isSymLink());
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(dir.file(QStringLiteral("Memo.txt"))).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST_F(HostileFilesTest, tooLargePageIsRefusedWithAMessageAndLeftAlone)
{
    const QByteArray big((64 << 20) + 1, 'x');
    dir.write(QStringLiteral("ToDo.txt"), big);
    TMainForm& f = start();
    EXPECT_TRUE(memo(f, "Memo2")->document()->isEmpty());
    ASSERT_FALSE(messages.texts().filter(QStringLiteral("大きすぎる")).isEmpty());
    EXPECT_TRUE(closeForm());
    EXPECT_EQ(QFileInfo(dir.file(QStringLiteral("ToDo.txt"))).size(), big.size());
}

TEST_F(HostileFilesTest, journalThatCannotBeWrittenIsToldAndPromisesNothing)
{
    // A journal root under a regular file: no folder can be made there, even by root.
    stateDir.write(QStringLiteral("blocked"), "");
    MainFormEnv env = makeEnv();
    env.recoveryRoot = stateDir.file(QStringLiteral("blocked/recovery"));
    // The day's file is a folder: the page cannot be written.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("20010203.txt")));
    form = std::make_unique<TMainForm>(env);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    TMainForm& f = *form;
    type(memo(f, "Memo7"), QStringLiteral("大事な日誌"));
    f.journalNow();
    f.journalNow();
    EXPECT_EQ(messages.texts().filter(QStringLiteral("復元用に保管できませんでした")).size(), 1)
        << "told once";
    messages.clear();
    changeDate(QDate(2001, 2, 4));
    // No question that promises keeping; the date and the text stay.
    for (const RecordingMessageService::Shown& s : messages.shown())
        EXPECT_NE(s.buttons, MessageService::Buttons::OkCancel) << s.text.toStdString();
    EXPECT_FALSE(messages.texts().filter(QStringLiteral("日付は移動しません")).isEmpty());
    EXPECT_EQ(f.selectedDate(), QDate(2001, 2, 3));
    EXPECT_EQ(memo(f, "Memo7")->toPlainText(), QStringLiteral("大事な日誌"));
    EXPECT_TRUE(closeForm());
}

TEST_F(HostileFilesTest, journalIsPrivate)
{
    const mode_t before = ::umask(022);
    TMainForm& f = start();
    type(memo(f, "Memo2"), QStringLiteral("秘密"));
    ASSERT_TRUE(f.journalNow());
    ASSERT_EQ(entries().size(), 1);
    const QString folder = f.journal().folderFor(this->folder());
    EXPECT_EQ(modeOf(folder), 0700u);
    for (const QString& name : QDir(folder).entryList(QDir::Files))
        EXPECT_EQ(modeOf(folder + u'/' + name), 0600u) << name.toStdString();
    ::umask(before);
}

TEST_F(HostileFilesTest, temporaryLeftByAKillIsOfferedAndStaleOnesRemoved)
{
    dir.write(QStringLiteral("ToDo.txt"), "old");
    dir.write(QStringLiteral("20010101.txt"), "kept");
    QFile old(dir.file(QStringLiteral("ToDo.txt")));
    ASSERT_TRUE(old.open(QIODevice::ReadWrite));
    old.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime);
    old.close();
    const QString newer = FileReplace::temporaryName(u"ToDo.txt", u"Ab12Cd");
    dir.write(newer, "newest");
    // Older than its file: the file was written after it.
    const QString stale = FileReplace::temporaryName(u"20010101.txt", u"Zz99Yy");
    dir.write(stale, "older");
    QFile st(dir.file(stale));
    ASSERT_TRUE(st.open(QIODevice::ReadWrite));
    st.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime);
    st.close();
    dir.write(QStringLiteral("ToDo.txt.backup"), "the user's");

    messages.answerNext(MessageService::Answer::Ok);
    TMainForm& f = start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !messages.shown().isEmpty(); }, 2000));
    EXPECT_TRUE(messages.shown().front().text.contains(QStringLiteral("・ToDo")));
    EXPECT_EQ(memo(f, "Memo2")->toPlainText(), QStringLiteral("newest"));
    EXPECT_TRUE(memo(f, "Memo2")->document()->isModified());
    EXPECT_FALSE(dir.exists(newer));
    EXPECT_FALSE(dir.exists(stale));
    EXPECT_TRUE(dir.exists(QStringLiteral("ToDo.txt.backup")));
    EXPECT_TRUE(closeForm());
    EXPECT_EQ(file("ToDo.txt"), "newest");
    EXPECT_EQ(file("20010101.txt"), "kept");
}

} // namespace
