#include "search/SearchResults.h"
#include "search/SearchWindow.h"

#include "controls/jvStringGrid.h"
#include "mainwindow/MainFormFixture.h"
#include "platform/AnsiText.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTreeView>

using namespace Qt::Literals::StringLiterals;

namespace {

class SearchWindowTest : public MainFormFixture {
protected:
    SearchWindow& open()
    {
        action(*form, "Find1")->trigger();
        SearchWindow* window = form->searchWindow();
        EXPECT_TRUE(window && window->isVisible());
        return *window;
    }

    // Key presses that carry the characters, as an input method commits them one by one.
    static void keys(QWidget* widget, const QString& text)
    {
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }

    // Types the query as the user does and waits for the search it starts to end.
    static void typeQuery(SearchWindow& window, const QString& text)
    {
        QSignalSpy finished(&window, &SearchWindow::searchFinished);
        window.Query->clear();
        keys(window.Query, text);
        if (window.isSearching() || finished.isEmpty()) {
            ASSERT_TRUE(finished.wait(10000));
        }
    }

    static QString selectedText(QPlainTextEdit* memo) { return memo->textCursor().selectedText(); }
};

TEST_F(SearchWindowTest, aDiaryYearsBackIsFoundAndEnterGoesThere)
{
    dir.write(u"19990705.txt"_s, AnsiText::encode(u"晴れ\r\n海で見たクジラの話"_s));
    dir.write(u"20010110.txt"_s, AnsiText::encode(u"関係のない日"_s));
    start();
    SearchWindow& window = open();
    EXPECT_EQ(window.windowTitle(), u"検索"_s);
    EXPECT_FALSE(window.CaseSensitive->isChecked());
    EXPECT_FALSE(window.KanaSensitive->isChecked());

    typeQuery(window, u"くじら"_s); // hiragana finds katakana unless told apart
    ASSERT_EQ(window.results().rowCount(), 1);
    EXPECT_EQ(window.Results->currentIndex().row(), 0);
    EXPECT_EQ(window.results().index(0, 0).data().toString(), u"1999年7月5日(月)"_s);
    EXPECT_EQ(window.results().index(0, 1).data().toString(), u"日誌"_s);
    EXPECT_EQ(window.results().index(0, 2).data().toString(), u"海で見たクジラの話"_s);
    EXPECT_EQ(window.Status->text(), u"1件"_s);

    QTest::keyClick(window.Query, Qt::Key_Return);
    EXPECT_EQ(form->selectedDate(), QDate(1999, 7, 5));
    EXPECT_EQ(label(*form, "StatusPanel")->text(), u"1999年07月05日"_s);
    EXPECT_EQ(pageTabs(*form)->currentIndex(), 3);
    EXPECT_EQ(selectedText(memo(*form, "Memo7")), u"クジラ"_s);
    EXPECT_EQ(grid(*form)->Row(), 5);

    window.KanaSensitive->setChecked(true); // searches again at once
    QSignalSpy finished(&window, &SearchWindow::searchFinished);
    ASSERT_TRUE(window.isSearching() ? finished.wait(10000) : true);
    EXPECT_EQ(window.results().rowCount(), 0);
    EXPECT_EQ(window.Status->text(), u"見つかりません"_s);
}

TEST_F(SearchWindowTest, unsavedTextIsSearchedAndItsDateSavedBeforeLeaving)
{
    dir.write(u"ToDo.txt"_s, AnsiText::encode(u"古いメモ"_s));
    start();
    empty(memo(*form, "Memo2"));
    type(memo(*form, "Memo2"), u"牛乳を買う"_s);
    type(memo(*form, "Memo7"), u"今日の日記"_s);
    grid(*form)->setCells(2, 20, u"歯医者 10時"_s);
    SearchWindow& window = open();

    typeQuery(window, u"古いメモ"_s);
    EXPECT_EQ(window.results().rowCount(), 0); // the page on screen wins over its file

    typeQuery(window, u"歯医者"_s);
    ASSERT_EQ(window.results().rowCount(), 1);
    EXPECT_EQ(window.results().index(0, 1).data().toString(), u"予定2"_s);
    QTest::keyClick(window.Query, Qt::Key_Return);
    EXPECT_EQ(form->selectedDate(), QDate(2001, 2, 20));
    EXPECT_EQ(grid(*form)->Row(), 20);
    EXPECT_EQ(grid(*form)->Col(), 2);
    // Leaving the day saved its diary first.
    EXPECT_EQ(AnsiText::decode(file("20010203.txt")), u"今日の日記"_s);

    typeQuery(window, u"牛乳"_s);
    ASSERT_EQ(window.results().rowCount(), 1);
    EXPECT_TRUE(window.results().index(0, 0).data().toString().isEmpty());
    QTest::keyClick(window.Query, Qt::Key_Return);
    EXPECT_EQ(pageTabs(*form)->currentIndex(), 0);
    EXPECT_EQ(selectedText(memo(*form, "Memo2")), u"牛乳"_s);
}

TEST_F(SearchWindowTest, aHitInAConflictCopyIsLabelledAndLeadsToItsFilesDay)
{
    dir.write(u"19990705.txt"_s, AnsiText::encode(u"晴れ"_s));
    dir.write(u"19990705.sync-conflict-19990706-101010-ABCDEFG.txt"_s,
              AnsiText::encode(u"晴れ\r\n海でクジラを見た"_s));
    start();
    SearchWindow& window = open();
    typeQuery(window, u"クジラ"_s);
    ASSERT_EQ(window.results().rowCount(), 1);
    EXPECT_EQ(window.results().index(0, 0).data().toString(), u"1999年7月5日(月)"_s);
    EXPECT_EQ(window.results().index(0, 1).data().toString(), u"日誌（競合コピー）"_s);
    EXPECT_EQ(window.results().index(0, 2).data().toString(), u"海でクジラを見た"_s);

    QTest::keyClick(window.Query, Qt::Key_Return);
    EXPECT_EQ(form->selectedDate(), QDate(1999, 7, 5));
    EXPECT_EQ(pageTabs(*form)->currentIndex(), 3);
    EXPECT_EQ(memo(*form, "Memo7")->toPlainText(), u"晴れ"_s); // the file's text, untouched
    EXPECT_TRUE(selectedText(memo(*form, "Memo7")).isEmpty());
}

TEST_F(SearchWindowTest, arrowsInTheQueryMoveTheSelectionAndHitsComeNewestFirst)
{
    dir.write(u"Sch20000101.txt"_s, AnsiText::encode(u"ABC 予定"_s));
    dir.write(u"20050101.txt"_s, AnsiText::encode(u"ａｂｃ 日誌"_s));
    dir.write(u"Anniv0203.txt"_s, AnsiText::encode(u"abc 記念日"_s));
    start();
    SearchWindow& window = open();
    typeQuery(window, u"abc"_s);
    ASSERT_EQ(window.results().rowCount(), 3);
    // The anniversary shows in the year shown, 2001.
    EXPECT_EQ(window.results().index(0, 0).data().toString(), u"2005年1月1日(土)"_s);
    EXPECT_EQ(window.results().index(1, 0).data().toString(), u"2001年2月3日(土)"_s);
    EXPECT_EQ(window.results().index(2, 0).data().toString(), u"2000年1月1日(土)"_s);

    QTest::keyClick(window.Query, Qt::Key_Down);
    QTest::keyClick(window.Query, Qt::Key_Down);
    QTest::keyClick(window.Query, Qt::Key_Down); // stays on the last
    EXPECT_EQ(window.Results->currentIndex().row(), 2);
    QTest::keyClick(window.Query, Qt::Key_Up);
    EXPECT_EQ(window.Results->currentIndex().row(), 1);
    QTest::keyClick(window.Results, Qt::Key_Return);
    EXPECT_EQ(pageTabs(*form)->currentIndex(), 4);
    EXPECT_EQ(selectedText(memo(*form, "Memo4")), u"abc"_s);

    window.CaseSensitive->setChecked(true);
    QSignalSpy finished(&window, &SearchWindow::searchFinished);
    ASSERT_TRUE(window.isSearching() ? finished.wait(10000) : true);
    EXPECT_EQ(window.results().rowCount(), 2); // ABC no longer matches; ａｂｃ is abc
}

TEST_F(SearchWindowTest, shortQueriesWaitForAPauseAndUnreadableFilesAreCounted)
{
    dir.write(u"20010101.txt"_s, AnsiText::encode(u"犬"_s));
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"20010102.txt"_s));
    start();
    SearchWindow& window = open();
    QSignalSpy finished(&window, &SearchWindow::searchFinished);
    keys(window.Query, u"犬"_s);
    EXPECT_FALSE(window.isSearching()); // one keystroke: not yet
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(window.results().rowCount(), 1);
    EXPECT_TRUE(window.Status->text().contains(u"読めないファイル 1件"_s))
        << window.Status->text().toStdString();
}

} // namespace
