#include "controls/TrayIcon.h"
#include "controls/jvStringGrid.h"

#include "MainFormFixture.h"
#include "controls/RecordingNotificationArea.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QMenu>
#include <QSignalSpy>

namespace {

class TrayWindowTest : public MainFormFixture {
protected:
    RecordingNotificationArea area;

    TrayWindowTest() { notificationArea = &area; }

    void minimise()
    {
        form->setWindowState(Qt::WindowMinimized);
        QTest::qWait(20);
    }

    // Waits out the single-click interval of the recording area.
    void waitForClick() { QTest::qWait(area.doubleClickMs + 150); }
};

TEST_F(TrayWindowTest, iconAndMenuAreSetUp)
{
    TMainForm& f = start();
    ASSERT_NE(trayIcon(f), nullptr);
    EXPECT_TRUE(trayIcon(f)->Shown());
    EXPECT_EQ(trayIcon(f)->TipHelp(), QStringLiteral("QuavScheduler"));
    EXPECT_TRUE(area.holds(trayIcon(f)->IconID()));
    const QList<QAction*> items = menu(f, "PopupMenu2")->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]->text(), QStringLiteral("ウィンドウを元に戻す(&R)"));
    EXPECT_EQ(menu(f, "PopupMenu2")->defaultAction(), items[0]);
    EXPECT_TRUE(items[0]->font().bold());
    EXPECT_TRUE(items[1]->isSeparator());
    EXPECT_EQ(items[2]->text(), QStringLiteral("終了(&X)"));
}

// A dialog left open when the window went to the tray: the tray's restore must bring both, or
// the window shows but takes no input.
TEST_F(TrayWindowTest, restoreBringsAnOpenDialogForwardWithTheWindow)
{
    TMainForm& f = start();
    QDialog dialog(&f);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    minimise();
    ASSERT_TRUE(f.isHidden());
    f.activateWindow(); // what a stray activation would leave behind
    action(f, "Restore1")->trigger();
    EXPECT_TRUE(f.isVisible());
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
    dialog.reject();
}

TEST_F(TrayWindowTest, minimiseHidesAndAClickOrDoubleClickRestores)
{
    TMainForm& f = start();
    minimise();
    EXPECT_TRUE(f.isHidden());

    area.click(trayIcon(f)->IconID());
    EXPECT_TRUE(f.isHidden()); // a single click waits for the double-click time
    waitForClick();
    EXPECT_TRUE(f.isVisible());
    EXPECT_FALSE(f.isMinimized());

    minimise();
    ASSERT_TRUE(f.isHidden());
    area.doubleClick(trayIcon(f)->IconID());
    EXPECT_TRUE(f.isVisible());
    waitForClick();
}

TEST_F(TrayWindowTest, restoreEntryShowsAndExitEntryClosesThroughTheCloseQuery)
{
    TMainForm& f = start();
    minimise();
    action(f, "Restore1")->trigger();
    EXPECT_TRUE(f.isVisible());
    type(memo(f, "Memo2"), QStringLiteral("トレイから終了"));
    action(f, "Exit2")->trigger();
    EXPECT_FALSE(f.isVisible());
    EXPECT_TRUE(has("ToDo.txt"));
    EXPECT_TRUE(has("QuavScheduler.ini"));
    form.reset();
}

TEST_F(TrayWindowTest, exitFromTheTrayWhileHiddenEndsTheProgram)
{
    TMainForm& f = start();
    QSignalSpy ends(&f, &TMainForm::closed);
    type(memo(f, "Memo2"), QStringLiteral("隠れたまま終了"));
    minimise();
    ASSERT_TRUE(f.isHidden());
    action(f, "Exit2")->trigger();
    EXPECT_EQ(ends.count(), 1);
    EXPECT_TRUE(has("ToDo.txt"));

    // A close the user takes back ends nothing.
    TMainForm& again = start();
    QSignalSpy stays(&again, &TMainForm::closed);
    QDir(dir.path()).rename(QStringLiteral("ToDo.txt"), QStringLiteral("old"));
    QDir(dir.path()).mkdir(QStringLiteral("ToDo.txt"));
    type(memo(again, "Memo2"), QStringLiteral("x"));
    minimise();
    messages.answerNext(MessageService::Answer::Ok); // the page that cannot be written
    messages.answerNext(MessageService::Answer::Cancel);
    action(again, "Exit2")->trigger();
    EXPECT_EQ(stays.count(), 0);
    form.reset();
}

TEST_F(TrayWindowTest, withoutNotificationAreaMinimisingMinimises)
{
    area.setAvailable(false);
    TMainForm& f = start();
    EXPECT_FALSE(trayIcon(f)->Shown());
    minimise();
    EXPECT_FALSE(f.isHidden());
    EXPECT_TRUE(f.isMinimized());

    // The area comes later: the icon is added and minimising hides again.
    f.setWindowState(Qt::WindowNoState);
    area.setAvailable(true);
    EXPECT_TRUE(trayIcon(f)->Shown());
    minimise();
    EXPECT_TRUE(f.isHidden());
}

TEST_F(TrayWindowTest, windowHiddenInALostAreaComesBackMinimised)
{
    TMainForm& f = start();
    minimise();
    ASSERT_TRUE(f.isHidden());
    area.setAvailable(false);
    QTest::qWait(20);
    EXPECT_FALSE(f.isHidden());
}

TEST_F(TrayWindowTest, refusedIconIsReportedAndNotFatal)
{
    area.refuseAdd = true;
    TMainForm& f = start();
    EXPECT_EQ(messages.count(QStringLiteral("タスクトレイにアイコンを登録できません。")), 1);
    EXPECT_EQ(grid(f)->RowCount(), 29); // start-up went on
    minimise();
    EXPECT_FALSE(f.isHidden());
}

TEST(TrayWindowWithoutArea, noAreaAtAllStillStarts)
{
    TempFolder dir;
    RecordingMessageService messages;
    MainFormEnv env;
    env.iniPath = dir.file(QStringLiteral("QuavScheduler.ini"));
    env.defaultDataFolder = dir.path() + u'/';
    env.recoveryRoot = dir.file(QStringLiteral("state"));
    env.messages = &messages;
    TMainForm form(env);
    EXPECT_EQ(trayIcon(form), nullptr);
    EXPECT_NE(menu(form, "PopupMenu2"), nullptr);
    EXPECT_TRUE(messages.shown().isEmpty());
}

} // namespace
