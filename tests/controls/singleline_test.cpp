#include "controls/model/SingleLine.h"

#include <gtest/gtest.h>

namespace {

using namespace Qt::Literals::StringLiterals;

struct InsertCase {
    const char* name;
    QString before;
    QString after;
    int caret;
    QString kept;
    int keptCaret;
};

class FirstLineOfInsert : public ::testing::TestWithParam<InsertCase> {};

TEST_P(FirstLineOfInsert, cutsOnlyTheInsertedRun)
{
    const InsertCase& c = GetParam();
    QString text = c.after;
    int caret = c.caret;
    EXPECT_EQ(SingleLine::keepFirstLineOfInsert(c.before, text, caret), c.kept != c.after);
    EXPECT_EQ(text, c.kept);
    EXPECT_EQ(caret, c.keptCaret);
}

INSTANTIATE_TEST_SUITE_P(
    Pastes, FirstLineOfInsert,
    ::testing::Values(InsertCase{"intoEmpty", u""_s, u"会議\r\n10時"_s, 7, u"会議"_s, 2},
                      InsertCase{"atEnd", u"ab"_s, u"abx\ny"_s, 5, u"abx"_s, 3},
                      InsertCase{"inTheMiddleKeepsTheTail", u"abcd"_s, u"abx\nycd"_s, 5, u"abxcd"_s, 3},
                      InsertCase{"overASelection", u"abXYcd"_s, u"ab1\r2cd"_s, 5, u"ab1cd"_s, 3},
                      InsertCase{"startingWithABreak", u"ab"_s, u"a\nzb"_s, 3, u"ab"_s, 1},
                      InsertCase{"insertSameAsOldText", u"aa"_s, u"aa\na"_s, 4, u"aa"_s, 2},
                      InsertCase{"oneLineIsKept", u"ab"_s, u"a-b"_s, 2, u"a-b"_s, 2},
                      InsertCase{"deletionIsKept", u"abc"_s, u"ac"_s, 1, u"ac"_s, 1}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
