#include "search/model/SearchEngine.h"

#include "platform/AnsiText.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

class SearchEngineTest : public ::testing::Test {
protected:
    TempFolder dir;

    void page(const QString& name, const QString& text) const { dir.write(name, AnsiText::encode(text)); }

    SearchRequest request(const QString& query) const
    {
        SearchRequest r;
        r.folder = dir.path() + u'/';
        r.query = query;
        r.annivYear = 2001;
        r.columnCaptions = {u"予定1"_s, u"予定2"_s};
        return r;
    }

    QList<SearchHit> search(const SearchRequest& r, SearchEngine::Outcome* outcome = nullptr) const
    {
        QList<SearchHit> all;
        const std::atomic_bool cancelled{false};
        const SearchEngine::Outcome o =
            SearchEngine::run(r, cancelled, [&](QList<SearchHit> hits) { all += hits; });
        if (outcome)
            *outcome = o;
        std::sort(all.begin(), all.end(), newerFirst);
        return all;
    }
};

TEST_F(SearchEngineTest, everyKindOfFileNewestFirst)
{
    page(u"20010203.txt"_s, u"朝\r\n会議の準備"_s);
    page(u"Sch20190503.txt"_s, u"会議"_s);
    page(u"Anniv0229.txt"_s, u"閏日の会議"_s);
    page(u"ToDo.txt"_s, u"会議室を予約"_s);
    page(u"Memo.txt"_s, u"なし"_s);
    page(u"notes.txt"_s, u"会議"_s);      // not a file of ours
    page(u"Sch2019050.txt"_s, u"会議"_s); // nor this
    page(u"200102.csv"_s, u",予定1,予定2,予定3\r\n1日(木),,\r\n2日(金),\"定例 会議\",x,会議\r\n"_s);

    const QList<SearchHit> hits = search(request(u"会議"_s));
    ASSERT_EQ(hits.size(), 5) << hits.size();
    EXPECT_EQ(hits[0].page, SearchPage::ToDo);
    EXPECT_FALSE(hits[0].date.isValid());
    EXPECT_EQ(hits[1].page, SearchPage::Plan);
    EXPECT_EQ(hits[1].date, QDate(2019, 5, 3));
    EXPECT_EQ(hitDateText(hits[1]), u"2019年5月3日(金)"_s);
    EXPECT_EQ(hits[1].pageName, u"予定"_s);
    EXPECT_EQ(hits[2].page, SearchPage::Diary);
    EXPECT_EQ(hits[2].pageName, u"日誌"_s);
    EXPECT_EQ(hits[2].start, 2); // after "朝" and one line break, as the editor counts
    EXPECT_EQ(hits[2].context, u"会議の準備"_s);
    // The grid: only columns that have a caption; the third column is not shown.
    EXPECT_EQ(hits[3].page, SearchPage::Grid);
    EXPECT_EQ(hits[3].date, QDate(2001, 2, 2));
    EXPECT_EQ(hits[3].column, 1);
    EXPECT_EQ(hits[3].pageName, u"予定1"_s);
    EXPECT_EQ(hits[3].start, 3);
    // 29 February falls in the leap year before the year shown.
    EXPECT_EQ(hits[4].page, SearchPage::Anniv);
    EXPECT_EQ(hits[4].date, QDate(2000, 2, 29));
}

TEST_F(SearchEngineTest, textOnScreenWinsOverItsFile)
{
    page(u"20010203.txt"_s, u"古い言葉"_s);
    page(u"200102.csv"_s, u",予定1,予定2\r\n1日(木),古い言葉,\r\n"_s);
    SearchRequest r = request(u"言葉"_s);
    r.pageTexts.append({dir.file(u"20010203.txt"_s), u"一行目\n新しい言葉"_s});
    r.gridPath = dir.file(u"200102.csv"_s);
    r.gridRows = {{QString(), u"予定1"_s, u"予定2"_s}, {u"1日(木)"_s, QString(), u"画面の言葉"_s}};

    const QList<SearchHit> hits = search(r);
    ASSERT_EQ(hits.size(), 2);
    EXPECT_EQ(hits[0].context, u"新しい言葉"_s);
    EXPECT_EQ(hits[0].start, 7);
    EXPECT_EQ(hits[1].page, SearchPage::Grid);
    EXPECT_EQ(hits[1].column, 2);
    EXPECT_EQ(hits[1].context, u"画面の言葉"_s);
}

TEST_F(SearchEngineTest, conflictCopiesAreSearchedAsTheFileTheyBelongTo)
{
    page(u"20010203.txt"_s, u"会議"_s);
    page(u"20010203 (conflicted copy 2001-02-04).txt"_s, u"朝\r\n会議の前"_s);
    page(u"Sch20010203.sync-conflict-20010204-101010-ABCDEFG.txt"_s, u"会議室"_s);
    page(u"200102 (1).csv"_s, u",予定1,予定2\r\n1日(木),,\r\n2日(金),会議,\r\n"_s);
    page(u"notes (1).txt"_s, u"会議"_s);    // a copy of no data file
    page(u"20010203 (1).csv"_s, u"会議"_s); // nor this
    page(u"ToDo (conflict_on_2001-02-04).txt"_s, u"会議"_s);
    SearchRequest r = request(u"会議"_s);
    // The page on screen replaces its file, never the copies beside it.
    r.pageTexts.append({dir.file(u"20010203.txt"_s), u"画面の会議"_s});

    const QList<SearchHit> hits = search(r);
    ASSERT_EQ(hits.size(), 5);
    EXPECT_EQ(hits[0].page, SearchPage::ToDo);
    EXPECT_EQ(hits[0].copyName, u"ToDo (conflict_on_2001-02-04).txt"_s);
    EXPECT_EQ(hits[1].page, SearchPage::Plan);
    EXPECT_EQ(hits[1].date, QDate(2001, 2, 3));
    EXPECT_EQ(hits[1].copyName, u"Sch20010203.sync-conflict-20010204-101010-ABCDEFG.txt"_s);
    EXPECT_EQ(hitPageText(hits[1]), u"予定（競合コピー）"_s);
    // The file before its copy.
    EXPECT_EQ(hits[2].page, SearchPage::Diary);
    EXPECT_TRUE(hits[2].copyName.isEmpty());
    EXPECT_EQ(hits[2].context, u"画面の会議"_s);
    EXPECT_EQ(hitPageText(hits[2]), u"日誌"_s);
    EXPECT_EQ(hits[3].page, SearchPage::Diary);
    EXPECT_EQ(hits[3].date, QDate(2001, 2, 3));
    EXPECT_EQ(hits[3].copyName, u"20010203 (conflicted copy 2001-02-04).txt"_s);
    EXPECT_EQ(hits[3].start, 2);
    EXPECT_EQ(hits[4].page, SearchPage::Grid);
    EXPECT_EQ(hits[4].date, QDate(2001, 2, 2));
    EXPECT_EQ(hits[4].pageName, u"予定1"_s);
    EXPECT_EQ(hitPageText(hits[4]), u"予定1（競合コピー）"_s);
}

TEST_F(SearchEngineTest, unreadableFilesAreSkippedAndCounted)
{
    page(u"20010203.txt"_s, u"言葉"_s);
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"20010204.txt"_s)); // a folder where a page file belongs
    SearchEngine::Outcome outcome;
    EXPECT_EQ(search(request(u"言葉"_s), &outcome).size(), 1);
    EXPECT_EQ(outcome.unreadable, 1);
    EXPECT_FALSE(outcome.folderUnreadable);

    SearchRequest missing = request(u"言葉"_s);
    missing.folder = dir.file(u"gone/"_s);
    EXPECT_TRUE(search(missing, &outcome).isEmpty());
    EXPECT_TRUE(outcome.folderUnreadable);
}

TEST_F(SearchEngineTest, stopsAtTheHitLimit)
{
    for (int d = 1; d <= 20; ++d)
        page(u"200101%1.txt"_s.arg(d, 2, 10, QChar(u'0')), u"言葉\n言葉"_s);
    SearchRequest r = request(u"言葉"_s);
    r.maxHits = 15;
    SearchEngine::Outcome outcome;
    EXPECT_EQ(search(r, &outcome).size(), 15);
    EXPECT_TRUE(outcome.truncated);
    EXPECT_EQ(outcome.hits, 15);
}

TEST_F(SearchEngineTest, aNewSearchReplacesTheOneRunning)
{
    for (int d = 1; d <= 28; ++d)
        page(u"200102%1.txt"_s.arg(d, 2, 10, QChar(u'0')), u"りんご みかん"_s);
    SearchEngine engine;
    QList<SearchHit> hits;
    QObject::connect(&engine, &SearchEngine::hitsFound,
                     [&](const QList<SearchHit>& batch) { hits += batch; });
    QSignalSpy finished(&engine, &SearchEngine::finished);
    engine.start(request(u"りんご"_s));
    engine.start(request(u"みかん"_s));
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(finished.size(), 1); // the first search reports nothing, not even its end
    EXPECT_EQ(hits.size(), 28);
    EXPECT_TRUE(std::all_of(hits.begin(), hits.end(), [](const SearchHit& h) {
        return h.context.mid(h.contextStart, h.contextLength) == u"みかん"_s;
    }));
    EXPECT_FALSE(engine.isRunning());
}

} // namespace
