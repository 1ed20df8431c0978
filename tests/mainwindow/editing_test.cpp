#include "MainFormFixture.h"

#include "controls/jvStringGrid.h"
#include "platform/AnsiText.h"
#include "platform/Clipboard.h"
#include "platform/Failure.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QTabWidget>
#include <QToolBar>

#include <functional>
#include <vector>

namespace {

constexpr int kDiaryPage = 3;

// A clipboard that can be neither read nor written.
class BrokenClipboard final : public Clipboard {
public:
    bool hasText() const override { return true; }
    QString text() const override { throw EQuavError(cannotOpenMessage()); }
    void setText(const QString&) override { throw EQuavError(cannotOpenMessage()); }
};

class EditingTest : public MainFormFixture {
protected:
    static QClipboard* board() { return QGuiApplication::clipboard(); }
    static bool boardHasText() { return board()->mimeData() && board()->mimeData()->hasText(); }

    TMainForm& startActive()
    {
        TMainForm& f = start();
        f.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&f));
        return f;
    }

    TjvStringGrid& grid() const { return *MainFormParts::grid(*form); }
    QString current() const { return grid().Cells(grid().Col(), grid().Row()); }

    static void openAndClose(QMenu* menu)
    {
        menu->popup(QPoint(10, 10));
        menu->hide();
    }

    void rightClickGrid()
    {
        const QPoint at = grid().CellRect(grid().Col(), grid().Row()).center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, grid().viewport()->mapToGlobal(at));
        QApplication::sendEvent(grid().viewport(), &event);
        menu(*form, "PopupMenu1")->hide();
    }

    void releaseOverGrid()
    {
        QTest::mouseClick(grid().viewport(), Qt::LeftButton, {},
                          grid().CellRect(grid().Col(), grid().Row()).center());
    }

    // Straight to the editor, so a hidden page's editor gets it as well.
    static void releaseOver(QPlainTextEdit* memo)
    {
        const QPoint at(5, 5);
        QMouseEvent release(QEvent::MouseButtonRelease, at, memo->viewport()->mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(memo->viewport(), &release);
    }

    static void select(QPlainTextEdit* memo, int from, int to)
    {
        QTextCursor cursor = memo->textCursor();
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        memo->setTextCursor(cursor);
    }

    QStringList allCells() const
    {
        QStringList cells;
        for (int r = 0; r < grid().RowCount(); ++r)
            cells += grid().Rows(r);
        return cells;
    }

    QStringList memoTexts() const
    {
        QStringList texts;
        for (QPlainTextEdit* memo : {memo(*form, "Memo1"), memo(*form, "Memo2"), memo(*form, "Memo3"),
                                     memo(*form, "Memo4"), memo(*form, "Memo7")})
            texts << memo->toPlainText() << memo->textCursor().selectedText();
        return texts;
    }
};

TEST_F(EditingTest, menusAndButtonsSitWhereTheUserLooks)
{
    TMainForm& f = start();
    QStringList bar;
    for (QAction* a : f.menuBar()->actions())
        bar << a->text();
    EXPECT_EQ(bar.mid(0, 4), (QStringList{QStringLiteral("ファイル(&F)"), QStringLiteral("予定(&S)"),
                                          QStringLiteral("編集(&E)"), QStringLiteral("表示(&V)")}));
    EXPECT_EQ(toolBar(f, "ToolBar1")->actions().mid(0, 3),
              (QList<QAction*>{action(f, "SchCut3"), action(f, "SchCopy3"), action(f, "SchPaste3")}));
    EXPECT_EQ(toolBar(f, "ToolBar3")->actions().mid(0, 3),
              (QList<QAction*>{action(f, "Cut3"), action(f, "Copy3"), action(f, "Paste3")}));
    EXPECT_EQ(MainFormParts::grid(f)->PopupMenu(), menu(f, "PopupMenu1"));
    for (QAction* a : {action(f, "SchCut3"), action(f, "SchCopy3"), action(f, "SchPaste3"), action(f, "Cut3"),
                       action(f, "Copy3"), action(f, "Paste3")}) {
        EXPECT_TRUE(a->text().isEmpty()) << a->objectName().toStdString();
        EXPECT_FALSE(a->icon().isNull()) << a->objectName().toStdString();
    }
    EXPECT_EQ(action(f, "SchCut3")->toolTip(), QStringLiteral("切り取り"));
    EXPECT_EQ(action(f, "Copy3")->toolTip(), QStringLiteral("コピー"));
    EXPECT_EQ(action(f, "Paste3")->toolTip(), QStringLiteral("貼り付け"));
    EXPECT_EQ(action(f, "DateTime1")->statusTip(), QStringLiteral("今日の日付と現在の時刻を挿入します。"));
}

TEST_F(EditingTest, enabledStatesAtStart)
{
    TMainForm& f = start();
    for (QAction* a : {action(f, "Cut1"), action(f, "Copy1"), action(f, "Paste1"), action(f, "Delete1"),
                       action(f, "Cut3"), action(f, "Copy3"), action(f, "Paste3"), action(f, "SchCut3"),
                       action(f, "SchCopy3"), action(f, "SchPaste3")})
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    for (QAction* a :
         {action(f, "Undo1"), action(f, "SelectAll1"), action(f, "DateTime1"), action(f, "SchCut1"),
          action(f, "SchCopy1"), action(f, "SchPaste1"), action(f, "SchDelete1"), action(f, "Cut2"),
          action(f, "Copy2"), action(f, "Paste2"), action(f, "Delete2"), action(f, "Exit1")})
        EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
}

TEST_F(EditingTest, scheduleStatesFollowEachTrigger)
{
    TMainForm& f = start();
    const std::vector<std::pair<const char*, std::function<void()>>> triggers = {
        {"menu", [&] { openAndClose(menu(f, "Sch1")); }},
        {"context menu", [&] { rightClickGrid(); }},
        {"mouse-up", [&] { releaseOverGrid(); }},
    };
    const auto states = [&] {
        QList<bool> s;
        for (QAction* a :
             {action(f, "SchCut1"), action(f, "SchCopy1"), action(f, "SchPaste1"), action(f, "SchDelete1"),
              action(f, "SchCut3"), action(f, "SchCopy3"), action(f, "SchPaste3"), action(f, "Cut2"),
              action(f, "Copy2"), action(f, "Paste2"), action(f, "Delete2")})
            s << a->isEnabled();
        return s;
    };
    for (const auto& [name, trigger] : triggers) {
        grid().setCells(grid().Col(), grid().Row(), QStringLiteral("会議"));
        board()->setText(QStringLiteral("x"));
        trigger();
        EXPECT_EQ(states(), QList<bool>(11, true)) << name;

        grid().setCells(grid().Col(), grid().Row(), QString());
        board()->clear();
        trigger();
        EXPECT_EQ(states(), QList<bool>(11, false)) << name;

        // Text on the clipboard but an empty cell: only pasting makes sense.
        board()->setText(QStringLiteral("x"));
        trigger();
        EXPECT_EQ(states(),
                  (QList<bool>{false, false, true, false, false, false, true, false, false, true, false}))
            << name;
    }
    // No trigger, no change: the buttons keep the state of the last one.
    grid().setCells(grid().Col(), grid().Row(), QStringLiteral("後から"));
    EXPECT_FALSE(action(f, "SchCut3")->isEnabled());
}

TEST_F(EditingTest, memoStatesFollowEachTriggerAndFocusTheActiveMemo)
{
    TMainForm& f = startActive();
    pageTabs(f)->setCurrentIndex(kDiaryPage);
    const std::vector<std::pair<const char*, std::function<void()>>> triggers = {
        {"menu", [&] { openAndClose(menu(f, "Edit1")); }},
        {"mouse-up on the diary", [&] { releaseOver(memo(f, "Memo7")); }},
        // Any editor's mouse-up looks at the page shown, not at the editor under the mouse.
        {"mouse-up on another editor", [&] { releaseOver(memo(f, "Memo2")); }},
    };
    const auto states = [&] {
        QList<bool> s;
        for (QAction* a : {action(f, "Undo1"), action(f, "Cut1"), action(f, "Copy1"), action(f, "Paste1"),
                           action(f, "Delete1"), action(f, "Cut3"), action(f, "Copy3"), action(f, "Paste3")})
            s << a->isEnabled();
        return s;
    };
    for (const auto& [name, trigger] : triggers) {
        memo(f, "Memo7")->setPlainText(QStringLiteral("日誌"));
        QTest::keyClicks(memo(f, "Memo7"), QStringLiteral("x"));
        select(memo(f, "Memo7"), 0, 2);
        board()->setText(QStringLiteral("x"));
        MainFormParts::grid(f)->setFocus();
        trigger();
        EXPECT_EQ(states(), QList<bool>(8, true)) << name;
        EXPECT_EQ(QApplication::focusWidget(), memo(f, "Memo7")) << name;

        memo(f, "Memo7")->setPlainText(QStringLiteral("日誌")); // a fresh text has nothing to undo
        board()->clear();
        trigger();
        EXPECT_EQ(states(), QList<bool>(8, false)) << name;
    }
    // The schedule's buttons are not the memo's.
    EXPECT_FALSE(action(f, "SchPaste3")->isEnabled());
}

TEST_F(EditingTest, threeLinePasteKeepsOnlyTheFirstLineInTheCell)
{
    TMainForm& f = start();
    grid().setCells(grid().Col(), grid().Row(), QStringLiteral("前の予定"));
    grid().setEditorMode(true);
    board()->setText(QStringLiteral("一行目\r\n二行目\r\n三行目"));
    action(f, "SchPaste1")->trigger();
    EXPECT_EQ(current(), QStringLiteral("一行目"));
    EXPECT_EQ(grid().InplaceEditor()->text(), QStringLiteral("一行目")); // shown at once
    // The context entry is the same command; a lone LF breaks the line too.
    board()->setText(QStringLiteral("\n二行目"));
    action(f, "Paste2")->trigger();
    EXPECT_EQ(current(), QString());
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(EditingTest, stalePasteButtonWithNoTextEmptiesTheCell)
{
    TMainForm& f = start();
    grid().setCells(grid().Col(), grid().Row(), QStringLiteral("消える"));
    board()->setText(QStringLiteral("x"));
    releaseOverGrid();
    ASSERT_TRUE(action(f, "SchPaste3")->isEnabled());
    board()->clear();
    action(f, "SchPaste3")->trigger();
    EXPECT_EQ(current(), QString());
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(EditingTest, staleButtonsCutAndCopyAnEmptyCell)
{
    TMainForm& f = start();
    const int row = grid().Row();
    grid().setCells(1, row, QStringLiteral("ある"));
    ASSERT_EQ(grid().Col(), 1);
    releaseOverGrid();
    ASSERT_TRUE(action(f, "SchCut3")->isEnabled());
    QTest::keyClick(&grid(), Qt::Key_Right); // moving by keyboard recomputes nothing
    ASSERT_EQ(grid().Col(), 2);
    ASSERT_TRUE(action(f, "SchCopy3")->isEnabled());

    board()->setText(QStringLiteral("前から"));
    action(f, "SchCopy3")->trigger();
    EXPECT_TRUE(boardHasText());
    EXPECT_EQ(board()->text(), QString());

    board()->setText(QStringLiteral("前から"));
    action(f, "SchCut3")->trigger();
    EXPECT_TRUE(boardHasText());
    EXPECT_EQ(board()->text(), QString());
    EXPECT_EQ(grid().Cells(2, row), QString());
    EXPECT_EQ(grid().Cells(1, row), QStringLiteral("ある"));
}

TEST_F(EditingTest, scheduleCutAndCopyPutTheCellOnTheClipboard)
{
    TMainForm& f = start();
    grid().setCells(grid().Col(), grid().Row(), QStringLiteral("歯医者★"));
    action(f, "SchCopy1")->trigger();
    EXPECT_EQ(board()->text(), QStringLiteral("歯医者★"));
    EXPECT_EQ(current(), QStringLiteral("歯医者★"));
    board()->setText(QStringLiteral("x"));
    action(f, "Cut2")->trigger();
    EXPECT_EQ(board()->text(), QStringLiteral("歯医者★"));
    EXPECT_EQ(current(), QString());
}

TEST_F(EditingTest, brokenClipboardStopsEveryCommandBeforeItChangesAnything)
{
    TMainForm& f = start();
    BrokenClipboard broken;
    f.setClipboard(&broken);
    grid().setCells(grid().Col(), grid().Row(), QStringLiteral("守る"));
    memo(f, "Memo2")->setPlainText(QStringLiteral("選んだ文"));
    select(memo(f, "Memo2"), 0, 2);
    for (QAction* a : {action(f, "Cut1"), action(f, "Copy1"), action(f, "Paste1"), action(f, "SchCopy3")})
        a->setEnabled(true);

    for (QAction* a : {action(f, "SchCut1"), action(f, "SchCopy3"), action(f, "Paste2"), action(f, "Cut1"),
                       action(f, "Copy1"), action(f, "Paste1")}) {
        messages.clear();
        a->trigger();
        ASSERT_EQ(messages.shown().size(), 1) << a->objectName().toStdString();
        EXPECT_EQ(messages.shown().first().text, QStringLiteral("クリップボードを開けません"));
        EXPECT_EQ(messages.shown().first().icon, MessageService::Icon::Error);
        EXPECT_EQ(messages.shown().first().caption, QStringLiteral("QuavScheduler"));
        EXPECT_EQ(current(), QStringLiteral("守る")) << a->objectName().toStdString();
        EXPECT_EQ(memo(f, "Memo2")->toPlainText(), QStringLiteral("選んだ文"))
            << a->objectName().toStdString();
        EXPECT_EQ(memo(f, "Memo2")->textCursor().selectedText(), QStringLiteral("選ん"));
    }
    // Deleting needs no clipboard.
    messages.clear();
    action(f, "SchDelete1")->trigger();
    EXPECT_EQ(current(), QString());
    EXPECT_TRUE(messages.shown().isEmpty());
    f.setClipboard(nullptr);
}

TEST_F(EditingTest, commandsNeverCrossBetweenMemosAndGrid)
{
    TMainForm& f = startActive();
    pageTabs(f)->setCurrentIndex(kDiaryPage);
    memo(f, "Memo7")->setPlainText(QStringLiteral("日誌の文\n二行目"));
    memo(f, "Memo2")->setPlainText(QStringLiteral("ToDo"));
    grid().setCells(1, grid().Row(), QStringLiteral("予定の文"));
    const QList<QAction*> memoCommands{action(f, "Undo1"),     action(f, "Cut1"),    action(f, "Copy1"),
                                       action(f, "Paste1"),    action(f, "Delete1"), action(f, "SelectAll1"),
                                       action(f, "DateTime1"), action(f, "Cut3"),    action(f, "Copy3"),
                                       action(f, "Paste3")};
    const QList<QAction*> gridCommands{action(f, "SchCut1"),    action(f, "SchCopy1"), action(f, "SchPaste1"),
                                       action(f, "SchDelete1"), action(f, "Cut2"),     action(f, "Copy2"),
                                       action(f, "Paste2"),     action(f, "Delete2"),  action(f, "SchCut3"),
                                       action(f, "SchCopy3"),   action(f, "SchPaste3")};
    for (QAction* a : memoCommands + gridCommands)
        a->setEnabled(true);

    // The grid has the focus and its cell editor is open: the memo commands still edit the diary.
    grid().setFocus();
    grid().setEditorMode(true);
    const QStringList cells = allCells();
    for (QAction* a : memoCommands) {
        board()->setText(QStringLiteral("貼る"));
        select(memo(f, "Memo7"), 0, 2);
        a->trigger();
        EXPECT_EQ(allCells(), cells) << a->objectName().toStdString();
        EXPECT_EQ(grid().InplaceEditor()->text(), QStringLiteral("予定の文"))
            << a->objectName().toStdString();
        EXPECT_EQ(memo(f, "Memo2")->toPlainText(), QStringLiteral("ToDo"));
    }
    EXPECT_NE(memo(f, "Memo7")->toPlainText(), QStringLiteral("日誌の文\n二行目"));

    // A memo has the focus and a selection: the schedule commands touch only the current cell.
    grid().setEditorMode(false);
    memo(f, "Memo7")->setFocus();
    select(memo(f, "Memo7"), 0, 2);
    const QStringList memos = memoTexts();
    for (QAction* a : gridCommands) {
        board()->setText(QStringLiteral("貼る"));
        grid().setCells(1, grid().Row(), QStringLiteral("予定の文"));
        a->trigger();
        EXPECT_EQ(memoTexts(), memos) << a->objectName().toStdString();
    }
}

TEST_F(EditingTest, copyTakesTheDiarySelectionWhileTheGridHasTheFocus)
{
    TMainForm& f = startActive();
    pageTabs(f)->setCurrentIndex(kDiaryPage);
    memo(f, "Memo7")->setPlainText(QStringLiteral("今日は晴れ\n明日は雨"));
    memo(f, "Memo2")->setPlainText(QStringLiteral("ToDoの文"));
    select(memo(f, "Memo2"), 0, 4);
    select(memo(f, "Memo7"), 3, 8);
    releaseOver(memo(f, "Memo7"));
    ASSERT_TRUE(action(f, "Copy3")->isEnabled());

    grid().setFocus();
    ASSERT_EQ(QApplication::focusWidget(), MainFormParts::grid(f));
    action(f, "Copy3")->trigger();
    EXPECT_EQ(board()->text(), QStringLiteral("晴れ\n明日"));
    EXPECT_EQ(QApplication::focusWidget(), MainFormParts::grid(f)); // the command itself moves no focus

    action(f, "Copy1")->trigger();
    EXPECT_EQ(board()->text(), QStringLiteral("晴れ\n明日"));
    openAndClose(menu(f, "Edit1"));
    EXPECT_EQ(QApplication::focusWidget(), memo(f, "Memo7"));

    // Another page shown: its own editor's selection.
    pageTabs(f)->setCurrentIndex(0);
    action(f, "Copy1")->trigger();
    EXPECT_EQ(board()->text(), QStringLiteral("ToDo"));
}

TEST_F(EditingTest, memoCutAndPasteGoThroughTheClipboard)
{
    TMainForm& f = start();
    memo(f, "Memo2")->setPlainText(QStringLiteral("買い物\t牛乳"));
    select(memo(f, "Memo2"), 0, 3);
    board()->setText(QStringLiteral("x"));
    releaseOver(memo(f, "Memo2"));
    action(f, "Cut3")->trigger();
    EXPECT_EQ(board()->text(), QStringLiteral("買い物"));
    EXPECT_EQ(memo(f, "Memo2")->toPlainText(), QStringLiteral("\t牛乳"));
    EXPECT_TRUE(memo(f, "Memo2")->document()->isModified());

    // Pasting replaces the selection; line breaks of the platform become lines.
    board()->setText(QStringLiteral("一\r\n二"));
    select(memo(f, "Memo2"), 1, 3);
    action(f, "Paste3")->trigger();
    EXPECT_EQ(memo(f, "Memo2")->toPlainText(), QStringLiteral("\t一\n二"));

    // A stale paste with nothing to paste keeps the selection.
    board()->clear();
    select(memo(f, "Memo2"), 0, 1);
    action(f, "Paste3")->trigger();
    EXPECT_EQ(memo(f, "Memo2")->toPlainText(), QStringLiteral("\t一\n二"));

    openAndClose(menu(f, "Edit1")); // as a user reaches the entry
    action(f, "Undo1")->trigger();
    EXPECT_EQ(memo(f, "Memo2")->toPlainText(), QStringLiteral("\t牛乳"));
    action(f, "SelectAll1")->trigger();
    EXPECT_EQ(memo(f, "Memo2")->textCursor().selectedText(), QStringLiteral("\t牛乳"));
}

TEST_F(EditingTest, undoRightAfterDateTimeKeepsTheInsertedText)
{
    now = QDateTime(QDate(2001, 3, 7), QTime(9, 5, 30));
    TMainForm& f = start();
    pageTabs(f)->setCurrentIndex(kDiaryPage);
    QTest::keyClicks(memo(f, "Memo7"), QStringLiteral("abc"));
    memo(f, "Memo7")->document()->setModified(false);
    select(memo(f, "Memo7"), 1, 2);
    action(f, "DateTime1")->trigger();
    const QString inserted = QStringLiteral("a9:05 01/3/7c");
    EXPECT_EQ(memo(f, "Memo7")->toPlainText(), inserted);
    EXPECT_TRUE(memo(f, "Memo7")->document()->isModified()); // so the diary is saved

    action(f, "Undo1")->trigger();
    EXPECT_EQ(memo(f, "Memo7")->toPlainText(), inserted);
    openAndClose(menu(f, "Edit1"));
    EXPECT_FALSE(action(f, "Undo1")->isEnabled());

    // Later edits are undoable again.
    QTest::keyClicks(memo(f, "Memo7"), QStringLiteral("d"));
    openAndClose(menu(f, "Edit1"));
    ASSERT_TRUE(action(f, "Undo1")->isEnabled());
    action(f, "Undo1")->trigger();
    EXPECT_EQ(memo(f, "Memo7")->toPlainText(), inserted);

    ASSERT_TRUE(closeForm());
    EXPECT_EQ(file("20010307.txt"), QByteArray("a9:05 01/3/7c"));
}

TEST_F(EditingTest, deletesLeaveTheClipboardAsItWas)
{
    TMainForm& f = start();
    board()->setText(QStringLiteral("残す"));
    memo(f, "Memo2")->setPlainText(QStringLiteral("消す部分とそのまま"));
    select(memo(f, "Memo2"), 0, 4);
    releaseOver(memo(f, "Memo2"));
    ASSERT_TRUE(action(f, "Delete1")->isEnabled());
    action(f, "Delete1")->trigger();
    EXPECT_EQ(memo(f, "Memo2")->toPlainText(), QStringLiteral("とそのまま"));

    grid().setCells(grid().Col(), grid().Row(), QStringLiteral("予定"));
    action(f, "Delete2")->trigger();
    EXPECT_EQ(current(), QString());
    EXPECT_EQ(board()->text(), QStringLiteral("残す"));
}

TEST_F(EditingTest, exitAfterSchedulePasteSavesThePastedLine)
{
    TMainForm& f = start();
    board()->setText(QStringLiteral("会議\r\n資料を持参"));
    action(f, "SchPaste1")->trigger();
    action(f, "Exit1")->trigger();
    EXPECT_FALSE(f.isVisible());
    form.reset();
    const QStringList lines = AnsiText::splitLines(AnsiText::decode(file("200102.csv")));
    ASSERT_EQ(lines.size(), 29);
    EXPECT_EQ(lines.at(3), QStringLiteral("3日(土),会議,,"));
    EXPECT_TRUE(has("QuavScheduler.ini")); // the whole close query ran
}

} // namespace
