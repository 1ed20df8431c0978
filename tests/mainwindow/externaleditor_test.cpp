#include "controls/TrayIcon.h"

#include "MainFormFixture.h"
#include "controls/RecordingNotificationArea.h"
#include "platform/AnsiText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTabWidget>
#include <QTimer>

namespace {

// Real processes: small shell scripts stand in for the user's editor.
class ExternalEditorTest : public MainFormFixture {
protected:
    RecordingNotificationArea area;
    TempFolder tools;
    ScriptedDialogs scripted;

    ExternalEditorTest()
    {
        notificationArea = &area;
        dialogs = &scripted;
    }

    void useEditor(const QString& name, const QByteArray& body)
    {
        tools.write(name, "#!/bin/sh\n" + body);
        QFile::setPermissions(tools.file(name), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        setInSettingsDialog(*form, scripted, tools.file(name));
    }

    void expectNormalState() const
    {
        EXPECT_TRUE(form->isVisible());
        EXPECT_TRUE(form->isEnabled());
        EXPECT_TRUE(trayIcon(*form)->Enabled());
    }

    QByteArray workFile() const { return file("~QuavSchedulerWork.txt"); }
};

TEST_F(ExternalEditorTest, appendedLineComesBackWithCrLfAndMarksModified)
{
    TMainForm& f = start();
    pageTabs(f)->setCurrentIndex(3); // 日誌
    type(memo(f, "Memo7"), QStringLiteral("一行目\n二行目"));
    memo(f, "Memo7")->document()->setModified(false);
    bool hiddenWhileWaiting = false;
    useEditor(QStringLiteral("append.sh"), "sleep 0.3; printf '\\nadded' >> \"$1\"\n");
    QTimer::singleShot(
        150, [&] { hiddenWhileWaiting = f.isHidden() && !f.isEnabled() && !trayIcon(f)->Enabled(); });
    action(f, "Exec1")->trigger();
    EXPECT_TRUE(hiddenWhileWaiting);
    expectNormalState();
    EXPECT_EQ(memo(f, "Memo7")->toPlainText(), QStringLiteral("一行目\n二行目\nadded"));
    EXPECT_TRUE(memo(f, "Memo7")->document()->isModified());
    // The hand-off is in the platform's own encoding, and the page's own file is not written.
    EXPECT_EQ(workFile(), QStringLiteral("一行目\r\n二行目\nadded").toUtf8());
    EXPECT_FALSE(has("20010203.txt"));
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(ExternalEditorTest, editorThatEndsAtOnceLeavesTextButMarksModified)
{
    TMainForm& f = start();
    EXPECT_EQ(pageTabs(f)->currentIndex(), 0);
    useEditor(QStringLiteral("quick.sh"), "exit 0\n");
    action(f, "Exec3")->trigger();
    expectNormalState();
    EXPECT_TRUE(memo(f, "Memo2")->toPlainText().isEmpty());
    EXPECT_TRUE(memo(f, "Memo2")->document()->isModified());
    EXPECT_EQ(workFile(), QByteArray());
    // The emptied-but-modified ToDo page is written at the next save.
    changeDate(QDate(2001, 2, 4));
    EXPECT_TRUE(has("ToDo.txt"));
}

TEST_F(ExternalEditorTest, editorThatReturnsAtOnceLeavesTheUserABoxBeforeReadingBack)
{
    TMainForm& f = start();
    type(memo(f, "Memo2"), QStringLiteral("元の文"));
    // Like an editor that hands the file to a window already open.
    useEditor(QStringLiteral("handoff.sh"), "exit 0\n");
    bool hiddenWhileAsking = false;
    messages.whileShown([&](const RecordingMessageService::Shown&) {
        hiddenWhileAsking = f.isHidden();
        dir.write(QStringLiteral("~QuavSchedulerWork.txt"), QStringLiteral("外で直した文").toUtf8());
    });
    action(f, "Exec1")->trigger();
    messages.whileShown({});
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown().first().buttons, MessageService::Buttons::OkCancel);
    EXPECT_TRUE(messages.shown().first().text.contains(QStringLiteral("外部エディタで編集中")));
    EXPECT_TRUE(hiddenWhileAsking);
    expectNormalState();
    EXPECT_EQ(memo(f, "Memo2")->toPlainText(), QStringLiteral("外で直した文"));

    // キャンセル leaves the page as it was.
    messages.clear();
    messages.answerNext(MessageService::Answer::Cancel);
    action(f, "Exec1")->trigger();
    expectNormalState();
    EXPECT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(memo(f, "Memo2")->toPlainText(), QStringLiteral("外で直した文"));
}

TEST_F(ExternalEditorTest, editorThatChangesTheFileAtOnceAsksNothing)
{
    TMainForm& f = start();
    useEditor(QStringLiteral("fast.sh"), "printf 'fast' > \"$1\"\n");
    action(f, "Exec1")->trigger();
    expectNormalState();
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_EQ(memo(f, "Memo2")->toPlainText(), QStringLiteral("fast"));
}

TEST_F(ExternalEditorTest, removedWorkFileKeepsThePage)
{
    TMainForm& f = start();
    type(memo(f, "Memo2"), QStringLiteral("残す"));
    memo(f, "Memo2")->document()->setModified(false);
    useEditor(QStringLiteral("remove.sh"), "rm -f \"$1\"\n");
    action(f, "Exec1")->trigger();
    expectNormalState();
    EXPECT_EQ(memo(f, "Memo2")->toPlainText(), QStringLiteral("残す"));
    EXPECT_FALSE(memo(f, "Memo2")->document()->isModified());
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_TRUE(messages.shown().first().text.contains(QStringLiteral("~QuavSchedulerWork.txt")));
}

TEST_F(ExternalEditorTest, missingProgramIsReported)
{
    TMainForm& f = start();
    type(memo(f, "Memo2"), QStringLiteral("そのまま"));
    setInSettingsDialog(f, scripted, tools.file(QStringLiteral("no-such-editor")));
    action(f, "Exec1")->trigger();
    expectNormalState();
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("外部エディタを起動できません。")});
    EXPECT_EQ(memo(f, "Memo2")->toPlainText(), QStringLiteral("そのまま"));
    EXPECT_TRUE(memo(f, "Memo2")->document()->isModified());
    EXPECT_EQ(workFile(), QStringLiteral("そのまま").toUtf8()); // the work file stays written
}

TEST_F(ExternalEditorTest, editorPathWithBlanksStarts)
{
    TMainForm& f = start();
    useEditor(QStringLiteral("my editor.sh"), "printf 'x' > \"$1\"\n");
    action(f, "Exec1")->trigger();
    expectNormalState();
    EXPECT_EQ(memo(f, "Memo2")->toPlainText(), QStringLiteral("x"));
}

TEST_F(ExternalEditorTest, unwritableWorkFileNeverHidesTheWindow)
{
    TMainForm& f = start();
    setInSettingsDialog(f, scripted, std::nullopt, dir.file(QStringLiteral("missing/")));
    useEditor(QStringLiteral("never.sh"), "touch \"$0.ran\"\n");
    action(f, "Exec1")->trigger();
    expectNormalState();
    EXPECT_EQ(messages.shown().size(), 1);
    EXPECT_FALSE(tools.exists(QStringLiteral("never.sh.ran")));
}

} // namespace

namespace {

TEST_F(ExternalEditorTest, textWithoutJapaneseComesBackAsItWasHandedOver)
{
    TMainForm& f = start();
    const QString text = QStringLiteral("25°C ×2 α\ncafé Привет");
    type(memo(f, "Memo2"), text);
    // Saves what it read, as an editor does when the user saves without a change.
    useEditor(QStringLiteral("resave.sh"), "c=$(cat \"$1\"); printf '%s' \"$c\" > \"$1\"\n");
    action(f, "Exec1")->trigger();
    expectNormalState();
    EXPECT_EQ(memo(f, "Memo2")->toPlainText(), text);

    // An editor that saved in code page 932 is read by the data files' rule.
    useEditor(QStringLiteral("sjis.sh"), "printf '\\223\\372\\226\\173\\214\\352' > \"$1\"\n");
    action(f, "Exec1")->trigger();
    EXPECT_EQ(memo(f, "Memo2")->toPlainText(), QStringLiteral("日本語"));
}

TEST_F(ExternalEditorTest, workFileLinkedToAnotherFileNeverWritesThroughTheLink)
{
    TMainForm& f = start();
    dir.write(QStringLiteral("other.txt"), "someone else's file");
    ASSERT_TRUE(QFile::link(dir.file(QStringLiteral("other.txt")),
                            dir.file(QStringLiteral("~QuavSchedulerWork.txt"))));
    type(memo(f, "Memo2"), QStringLiteral("ページ"));
    useEditor(QStringLiteral("edit.sh"), "printf 'edited' >> \"$1\"\n");
    action(f, "Exec1")->trigger();
    expectNormalState();
    EXPECT_EQ(dir.read(QStringLiteral("other.txt")), QByteArray("someone else's file"));
    EXPECT_FALSE(QFileInfo(dir.file(QStringLiteral("~QuavSchedulerWork.txt"))).isSymLink());
    EXPECT_EQ(memo(f, "Memo2")->toPlainText(), QStringLiteral("ページedited"));
}

TEST_F(ExternalEditorTest, sessionEndLeavesTheEditorOpenAndOffersWhatItSavesLater)
{
    TMainForm& f = start();
    type(memo(f, "Memo2"), QStringLiteral("元の文"));
    // Saves once at once, then again only after the session has ended.
    useEditor(QStringLiteral("slow.sh"), "printf '25°C 途中' > \"$1\"\n"
                                         "while [ ! -e \"$1.go\" ]; do sleep 0.05; done\n"
                                         "printf '後で保存した文' > \"$1\"; touch \"$1.saved\"\n");
    const QString work = dir.file(QStringLiteral("~QuavSchedulerWork.txt"));
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (workFile() != QStringLiteral("25°C 途中").toUtf8())
            return;
        poll.stop();
        f.closeUnattended();
        dir.write(QStringLiteral("~QuavSchedulerWork.txt.go"), {});
    });
    poll.start();
    action(f, "Exec1")->trigger();
    EXPECT_TRUE(f.closedUnattended());
    EXPECT_TRUE(f.isHidden());
    // What the editor held at the end went to the page's file, read as it was written.
    EXPECT_EQ(file("ToDo.txt"), AnsiText::encode(QStringLiteral("25°C 途中")));
    // The editor was not killed with us: its later save happens.
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(work + QStringLiteral(".saved")); }, 10000));
    form.reset();

    // The next start offers it like the journal's texts, and OK puts it back as unsaved text.
    TMainForm& next = start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !messages.shown().isEmpty(); }, 5000));
    EXPECT_TRUE(messages.shown().first().text.contains(
        QStringLiteral("ToDo（終了後に外部エディタで保存された内容）")))
        << messages.shown().first().text.toStdString();
    EXPECT_EQ(memo(next, "Memo2")->toPlainText(), QStringLiteral("後で保存した文"));
    EXPECT_TRUE(memo(next, "Memo2")->document()->isModified());
    // Offered once only.
    closeForm();
    messages.clear();
    start();
    QTest::qWait(50);
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(ExternalEditorTest, editorThatSavesNothingAfterTheSessionEndLeavesNothingToOffer)
{
    TMainForm& f = start();
    useEditor(QStringLiteral("idle.sh"), "printf 'fertig' > \"$1\"; sleep 0.5\n");
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (workFile() == "fertig") {
            poll.stop();
            f.closeUnattended();
        }
    });
    poll.start();
    action(f, "Exec1")->trigger();
    EXPECT_EQ(file("ToDo.txt"), QByteArray("fertig"));
    form.reset();
    QTest::qWait(500);
    start();
    QTest::qWait(50);
    EXPECT_TRUE(messages.shown().isEmpty()) << messages.texts().join(u'|').toStdString();
}

} // namespace
