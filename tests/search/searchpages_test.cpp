// Search hits against the page table: each hit names and opens the page its file belongs to.
#include "search/SearchWindow.h"

#include "search/SearchResults.h"

#include "mainwindow/MainFormFixture.h"
#include "schedule/Pages.h"
#include "platform/AnsiText.h"
#include "search/model/SearchPages.h"

#include <QAbstractItemModel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTreeView>

class SearchPagesTest : public MainFormFixture {};

TEST(SearchPages, kindsFollowThePageFiles)
{
    const SearchPage kinds[] = {SearchPage::ToDo, SearchPage::Memo, SearchPage::Plan, SearchPage::Diary,
                                SearchPage::Anniv};
    for (int i = 0; i < Pages::kCount; ++i) {
        EXPECT_EQ(searchPage(Pages::at(i).kind), kinds[i]) << i;
        EXPECT_EQ(fileKind(kinds[i]), Pages::at(i).kind) << i;
    }
    EXPECT_EQ(searchPage(DataFileNames::Kind::Month), SearchPage::Grid);
    EXPECT_TRUE(searchPageName(SearchPage::Grid).isEmpty());
}

TEST_F(SearchPagesTest, eachHitIsNamedAsItsTabAndOpensIt)
{
    for (const char* name : {"ToDo.txt", "Memo.txt", "Sch20010203.txt", "20010203.txt", "Anniv0203.txt"})
        dir.write(QLatin1String(name), AnsiText::encode(QStringLiteral("鯨 in ") + QLatin1String(name)));
    TMainForm& f = start();
    action(f, "Find1")->trigger();
    SearchWindow* window = f.searchWindow();
    ASSERT_TRUE(window);
    QSignalSpy finished(window, &SearchWindow::searchFinished);
    QTest::sendKeyEvent(QTest::Click, window->Query, Qt::Key_unknown, QStringLiteral("鯨"), Qt::NoModifier);
    if (window->isSearching() || finished.isEmpty()) {
        ASSERT_TRUE(finished.wait(10000));
    }
    ASSERT_EQ(window->results().rowCount(), Pages::kCount);
    QSet<QString> names;
    for (int row = 0; row < Pages::kCount; ++row) {
        SCOPED_TRACE(row);
        const QString name = window->results().index(row, 1).data().toString();
        names.insert(name);
        pageTabs(f)->setCurrentIndex(0);
        window->Results->setCurrentIndex(window->results().index(row, 0));
        QTest::keyClick(window->Results, Qt::Key_Return);
        EXPECT_EQ(pageTabs(f)->tabText(pageTabs(f)->currentIndex()), name);
        auto* memo = qobject_cast<QPlainTextEdit*>(pageTabs(f)->currentWidget());
        ASSERT_TRUE(memo);
        EXPECT_EQ(memo->textCursor().selectedText(), QStringLiteral("鯨"));
    }
    EXPECT_EQ(names.size(), Pages::kCount);
}
