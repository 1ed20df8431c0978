// The window's controls and commands are reached by object name alone, so each name must stay
// one part's: a second part of that name would quietly take the commands meant for the first.
#include "MainFormFixture.h"

#include "controls/RecordingNotificationArea.h"
#include "mainwindow/OptionDialogs.h"

#include <QDialog>

namespace {

class PartNamesTest : public MainFormFixture {
protected:
    RecordingNotificationArea area;
    ScriptedDialogs scripted;

    PartNamesTest()
    {
        notificationArea = &area;
        dialogs = &scripted;
    }

    // Starts and makes every dialog the window owns, whose controls have names of their own.
    TMainForm& startWithDialogs()
    {
        TMainForm& f = start();
        for (const char* name : {"EditorSet1", "SchItemSet1", "StartWeek1", "Font1", "ColSat1"}) {
            scripted.cancel();
            action(f, name)->trigger();
        }
        scripted.cancel();
        markupAction(f, "MS", 0)->trigger();
        EXPECT_TRUE(scripted.allAnswered());
        return f;
    }

    template <typename T> static void expectOne(const QObject& within, const char* name)
    {
        EXPECT_EQ(within.findChildren<T*>(QLatin1String(name)).size(), 1) << name;
    }
};

TEST_F(PartNamesTest, eachNameBelongsToOnePartOfItsKindEvenWithTheDialogsMade)
{
    TMainForm& f = startWithDialogs();
    EXPECT_EQ(scripted.shown(),
              (QStringList{QStringLiteral("EditorSetupDlg"), QStringLiteral("SchItemDlg"),
                           QStringLiteral("WeekSetupDlg"), QStringLiteral("FontDialog"),
                           QStringLiteral("ColorDialog1"), QStringLiteral("MarkupStrDlg")}));

    expectOne<TjvStringGrid>(f, "jvStringGrid1");
    expectOne<MonthCalendar>(f, "MonthCal");
    expectOne<QTabWidget>(f, "Page1");
    expectOne<TRegManager>(f, "RegManager1");
    expectOne<TTrayIcon>(f, "TrayIcon");
    for (const char* name : {"lblThisMonth", "StatusPanel"})
        expectOne<QLabel>(f, name);
    for (const char* name :
         {"Panel1", "Panel2", "Splitter1", "Splitter2", "ToolBar1", "ToolBar2", "ToolBar3"})
        expectOne<QWidget>(f, name);
    for (const char* name : {"File1", "Sch1", "Edit1", "Show1", "Help1", "PopupMenu1", "PopupMenu2"})
        expectOne<QMenu>(f, name);
    for (const char* name :
         {"Exit1",      "Today1",    "Today3",    "SchCut1",        "SchCopy1",       "SchPaste1",
          "SchDelete1", "Undo1",     "Cut1",      "Copy1",          "Paste1",         "Delete1",
          "SelectAll1", "DateTime1", "Cut2",      "Copy2",          "Paste2",         "Delete2",
          "SchCut3",    "SchCopy3",  "SchPaste3", "Cut3",           "Copy3",          "Paste3",
          "Restore1",   "Exit2",     "Exec1",     "Exec3",          "ViewMonthsForm", "ToolButton3MonthView",
          "About1",     "Find1",     "Holidays1", "EditorSet1",     "SchItemSet1",    "Font1",
          "StartWeek1", "ColSat1",   "ColSun1",   "MarkupBGColor1", "MarkupStr1"})
        expectOne<QAction>(f, name);
    for (int k = 0; k < kMarkupCount; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(f.findChildren<QAction*>(QStringLiteral("MS%1").arg(k + 1)).size(), 1);
        EXPECT_EQ(f.findChildren<QAction*>(QStringLiteral("MBGC%1").arg(k + 1)).size(), 1);
    }
    // The pages' memos share their names with the dialogs' memos; among the pages each is one.
    for (const char* name : {"Memo1", "Memo2", "Memo3", "Memo4", "Memo7"})
        expectOne<QPlainTextEdit>(*pageTabs(f), name);
    EXPECT_NE(memo(f, "Memo1"), f.findChild<TSchItemDlg*>()->Memo1);
}

TEST_F(PartNamesTest, markupEntriesAreNamedFromOneAsTheirMenuShowsThem)
{
    TMainForm& f = start();
    for (int k = 0; k < kMarkupCount; ++k) {
        SCOPED_TRACE(k);
        const QString shortcut = QStringLiteral("(&%1)").arg((k + 1) % 10);
        EXPECT_EQ(markupAction(f, "MS", k)->text(), f.settings().markup[size_t(k)].symbol + shortcut);
        EXPECT_EQ(markupAction(f, "MBGC", k)->text(), f.settings().markup[size_t(k)].symbol + shortcut);
    }
}

} // namespace
