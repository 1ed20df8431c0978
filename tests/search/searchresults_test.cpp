#include "search/SearchResults.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

SearchHit hit(SearchPage page, QDate date, qsizetype start = 0)
{
    SearchHit h;
    h.page = page;
    h.date = date;
    h.start = start;
    return h;
}

// Batches arrive in any order from several workers; the list stays newest first.
TEST(SearchResults, batchesMergeNewestFirst)
{
    SearchResults results;
    results.add({hit(SearchPage::Diary, QDate(2001, 2, 3)), hit(SearchPage::Diary, QDate(1999, 1, 1))});
    results.add({hit(SearchPage::Plan, QDate(2001, 2, 3)), hit(SearchPage::Grid, QDate(2010, 5, 5)),
                 hit(SearchPage::Diary, QDate(2000, 6, 1)), hit(SearchPage::Diary, QDate(1990, 1, 1))});
    results.add({hit(SearchPage::Memo, {}), hit(SearchPage::ToDo, {}, 5), hit(SearchPage::ToDo, {}, 2)});

    const std::vector<std::pair<SearchPage, QDate>> expected = {
        {SearchPage::ToDo, {}},
        {SearchPage::ToDo, {}},
        {SearchPage::Memo, {}},
        {SearchPage::Grid, QDate(2010, 5, 5)},
        {SearchPage::Plan, QDate(2001, 2, 3)}, // the pages of one day in tab order
        {SearchPage::Diary, QDate(2001, 2, 3)},
        {SearchPage::Diary, QDate(2000, 6, 1)},
        {SearchPage::Diary, QDate(1999, 1, 1)},
        {SearchPage::Diary, QDate(1990, 1, 1)},
    };
    ASSERT_EQ(results.rowCount(), int(expected.size()));
    for (int row = 0; row < results.rowCount(); ++row) {
        EXPECT_EQ(results.hit(row).page, expected[size_t(row)].first) << row;
        EXPECT_EQ(results.hit(row).date, expected[size_t(row)].second) << row;
    }
    EXPECT_EQ(results.hit(0).start, 2);
    EXPECT_EQ(results.index(3, 0).data().toString(), u"2010年5月5日(水)"_s);
}

TEST(SearchResults, aHitInAConflictCopySaysSoAndFollowsItsFile)
{
    SearchResults results;
    SearchHit copy = hit(SearchPage::Diary, QDate(2001, 2, 3), 0);
    copy.pageName = u"日誌"_s;
    copy.copyName = u"20010203 (1).txt"_s;
    SearchHit file = copy;
    file.copyName.clear();
    file.start = 9; // the file's hit comes first even further into its text
    results.add({copy, file});
    ASSERT_EQ(results.rowCount(), 2);
    EXPECT_EQ(results.index(0, 1).data().toString(), u"日誌"_s);
    EXPECT_EQ(results.index(1, 1).data().toString(), u"日誌（競合コピー）"_s);
    EXPECT_EQ(results.index(1, 0).data().toString(), u"2001年2月3日(土)"_s);
}

} // namespace
