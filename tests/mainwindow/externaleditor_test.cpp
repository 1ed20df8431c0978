#include "controls/TrayIcon.h"

#include "MainFormFixture.h"
#include "controls/RecordingNotificationArea.h"

#include <QDir>
#include <QFile>
#include <QTabWidget>
#include <QTimer>

namespace {

// Real processes: small shell scripts stand in for the user's editor.
class ExternalEditorTest : public MainFormFixture {
protected:
    RecordingNotificationArea area;
    TempFolder tools;

    ExternalEditorTest() { notificationArea = &area; }

    void useEditor(const QString& name, const QByteArray& body)
    {
        tools.write(name, "#!/bin/sh\n" + body);
        QFile::setPermissions(tools.file(name), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        form->EditorPath = tools.file(name);
    }

    void expectNormalState() const
    {
        EXPECT_TRUE(form->isVisible());
        EXPECT_TRUE(form->isEnabled());
        EXPECT_TRUE(form->TrayIcon->Enabled());
    }

    QByteArray workFile() const { return file("~QuavSchedulerWork.txt"); }
};

TEST_F(ExternalEditorTest, appendedLineComesBackWithCrLfAndMarksModified)
{
    TMainForm& f = start();
    f.Page1->setCurrentIndex(3); // 日誌
    type(f.Memo7, QStringLiteral("一行目\n二行目"));
    f.Memo7->document()->setModified(false);
    bool hiddenWhileWaiting = false;
    useEditor(QStringLiteral("append.sh"), "sleep 0.3; printf '\\nadded' >> \"$1\"\n");
    QTimer::singleShot(
        150, [&] { hiddenWhileWaiting = f.isHidden() && !f.isEnabled() && !f.TrayIcon->Enabled(); });
    f.Exec1Click();
    EXPECT_TRUE(hiddenWhileWaiting);
    expectNormalState();
    EXPECT_EQ(f.Memo7->toPlainText(), QStringLiteral("一行目\n二行目\nadded"));
    EXPECT_TRUE(f.Memo7->document()->isModified());
    // The hand-off is in the platform's own encoding, and the page's own file is not written.
    EXPECT_EQ(workFile(), QStringLiteral("一行目\r\n二行目\nadded").toUtf8());
    EXPECT_FALSE(has("20010203.txt"));
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(ExternalEditorTest, editorThatEndsAtOnceLeavesTextButMarksModified)
{
    TMainForm& f = start();
    EXPECT_EQ(f.Page1->currentIndex(), 0);
    useEditor(QStringLiteral("quick.sh"), "exit 0\n");
    f.Exec3->trigger();
    expectNormalState();
    EXPECT_TRUE(f.Memo2->toPlainText().isEmpty());
    EXPECT_TRUE(f.Memo2->document()->isModified());
    EXPECT_EQ(workFile(), QByteArray());
    // The emptied-but-modified ToDo page is written at the next save.
    changeDate(QDate(2001, 2, 4));
    EXPECT_TRUE(has("ToDo.txt"));
}

TEST_F(ExternalEditorTest, editorThatReturnsAtOnceLeavesTheUserABoxBeforeReadingBack)
{
    TMainForm& f = start();
    type(f.Memo2, QStringLiteral("元の文"));
    // Like an editor that hands the file to a window already open.
    useEditor(QStringLiteral("handoff.sh"), "exit 0\n");
    bool hiddenWhileAsking = false;
    messages.whileShown([&](const RecordingMessageService::Shown&) {
        hiddenWhileAsking = f.isHidden();
        dir.write(QStringLiteral("~QuavSchedulerWork.txt"), QStringLiteral("外で直した文").toUtf8());
    });
    f.Exec1Click();
    messages.whileShown({});
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown().first().buttons, MessageService::Buttons::OkCancel);
    EXPECT_TRUE(messages.shown().first().text.contains(QStringLiteral("外部エディタで編集中")));
    EXPECT_TRUE(hiddenWhileAsking);
    expectNormalState();
    EXPECT_EQ(f.Memo2->toPlainText(), QStringLiteral("外で直した文"));

    // キャンセル leaves the page as it was.
    messages.clear();
    messages.answerNext(MessageService::Answer::Cancel);
    f.Exec1Click();
    expectNormalState();
    EXPECT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(f.Memo2->toPlainText(), QStringLiteral("外で直した文"));
}

TEST_F(ExternalEditorTest, editorThatChangesTheFileAtOnceAsksNothing)
{
    TMainForm& f = start();
    useEditor(QStringLiteral("fast.sh"), "printf 'fast' > \"$1\"\n");
    f.Exec1Click();
    expectNormalState();
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_EQ(f.Memo2->toPlainText(), QStringLiteral("fast"));
}

TEST_F(ExternalEditorTest, removedWorkFileKeepsThePage)
{
    TMainForm& f = start();
    type(f.Memo2, QStringLiteral("残す"));
    f.Memo2->document()->setModified(false);
    useEditor(QStringLiteral("remove.sh"), "rm -f \"$1\"\n");
    f.Exec1->trigger();
    expectNormalState();
    EXPECT_EQ(f.Memo2->toPlainText(), QStringLiteral("残す"));
    EXPECT_FALSE(f.Memo2->document()->isModified());
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_TRUE(messages.shown().first().text.contains(QStringLiteral("~QuavSchedulerWork.txt")));
}

TEST_F(ExternalEditorTest, missingProgramIsReported)
{
    TMainForm& f = start();
    type(f.Memo2, QStringLiteral("そのまま"));
    f.EditorPath = tools.file(QStringLiteral("no-such-editor"));
    f.Exec1Click();
    expectNormalState();
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("外部エディタを起動できません。")});
    EXPECT_EQ(f.Memo2->toPlainText(), QStringLiteral("そのまま"));
    EXPECT_TRUE(f.Memo2->document()->isModified());
    EXPECT_EQ(workFile(), QStringLiteral("そのまま").toUtf8()); // the work file stays written
}

TEST_F(ExternalEditorTest, editorPathWithBlanksStarts)
{
    TMainForm& f = start();
    useEditor(QStringLiteral("my editor.sh"), "printf 'x' > \"$1\"\n");
    f.Exec1Click();
    expectNormalState();
    EXPECT_EQ(f.Memo2->toPlainText(), QStringLiteral("x"));
}

TEST_F(ExternalEditorTest, unwritableWorkFileNeverHidesTheWindow)
{
    TMainForm& f = start();
    f.DataFolder = dir.file(QStringLiteral("missing/"));
    useEditor(QStringLiteral("never.sh"), "touch \"$0.ran\"\n");
    f.Exec1Click();
    expectNormalState();
    EXPECT_EQ(messages.shown().size(), 1);
    EXPECT_FALSE(tools.exists(QStringLiteral("never.sh.ran")));
}

} // namespace
