#include "search/model/SearchText.h"

#include <gtest/gtest.h>

#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace {

struct Case {
    const char16_t* query;
    const char16_t* text;
    SearchOptions options;
    qsizetype start; // -1: no match
    qsizetype length;
};

TEST(SearchText, widthAlwaysFoldsCaseAndKanaAsAsked)
{
    const SearchOptions loose;
    const SearchOptions exactCase{true, false};
    const SearchOptions exactKana{false, true};
    const Case cases[] = {
        {u"abc", u"xＡＢＣ", loose, 1, 3},
        {u"ＡＢＣ", u"abc", loose, 0, 3},
        {u"ABC", u"abc", exactCase, -1, 0},
        {u"ABC", u"ＡＢＣ", exactCase, 0, 3}, // width folds even with the case kept
        {u"abc", u"ＡＢＣ", exactCase, -1, 0},
        {u"ア", u"ｱｲｳ", exactKana, 0, 1},
        {u"ガッコウ", u"私のｶﾞｯｺｳ", exactKana, 2, 5}, // ｶﾞ is two units that make one
        {u"ｶﾞｯｺｳ", u"ガッコウ", exactKana, 0, 4},
        {u"パン", u"ﾊﾟﾝ屋", exactKana, 0, 3},
        {u"ハン", u"ﾊﾟﾝ", exactKana, -1, 0}, // ﾊﾟ is パ, not ハ
        {u"ヴ", u"ｳﾞｨ", exactKana, 0, 2},
        {u"かな", u"カナ", loose, 0, 2},
        {u"かな", u"カナ", exactKana, -1, 0},
        {u"てすと", u"ﾃｽﾄ", loose, 0, 3},
        {u"てすと", u"ﾃｽﾄ", exactKana, -1, 0},
        {u"a b", u"A　B", loose, 0, 3}, // the ideographic space is a wide blank
        {u"ÄRGER", u"ärger", loose, 0, 5},
        {u"漢字", u"かんじ漢字", loose, 3, 2},
    };
    for (const Case& c : cases) {
        const SearchText::Pattern pattern(QString::fromUtf16(c.query), c.options);
        const auto found = pattern.findLines(QString::fromUtf16(c.text), 10);
        const std::string label =
            QString::fromUtf16(c.query).toStdString() + " in " + QString::fromUtf16(c.text).toStdString();
        if (c.start < 0) {
            EXPECT_TRUE(found.empty()) << label;
            continue;
        }
        ASSERT_EQ(found.size(), 1u) << label;
        EXPECT_EQ(found[0].start, c.start) << label;
        EXPECT_EQ(found[0].length, c.length) << label;
    }
}

TEST(SearchText, firstMatchOfEachLineWithItsLine)
{
    const QString text = u"会議 会議\n何もない\n午後に会議\n会議"_s;
    const SearchText::Pattern pattern(u"会議"_s, {});
    const auto found = pattern.findLines(text, 10);
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].start, 0);
    EXPECT_EQ(found[0].lineEnd, 5);
    EXPECT_EQ(found[1].start, 14);
    EXPECT_EQ(found[1].lineStart, 11);
    EXPECT_EQ(found[1].lineEnd, 16);
    EXPECT_EQ(found[2].start, 17);
    EXPECT_EQ(found[2].lineEnd, text.size());
    EXPECT_EQ(pattern.findLines(text, 2).size(), 2u);
    EXPECT_TRUE(SearchText::Pattern(QString(), {}).findLines(text, 10).empty());
    // A pasted query of several lines looks for its first.
    const auto firstOnly = SearchText::Pattern(u"会議\r\n何も"_s, {}).findLines(text, 10);
    EXPECT_EQ(firstOnly.size(), 3u);
}

TEST(SearchText, contextIsOneShortenedLine)
{
    const QString line = QString(50, u'x') + u"\tneedle\t"_s + QString(100, u'y');
    const QString text = u"before\n"_s + line + u"\nafter"_s;
    const auto found = SearchText::Pattern(u"NEEDLE"_s, {}).findLines(text, 1);
    ASSERT_EQ(found.size(), 1u);
    const SearchText::Context c = SearchText::contextOf(text, found[0]);
    EXPECT_EQ(c.text.mid(c.start, c.length), u"needle"_s);
    EXPECT_TRUE(c.text.startsWith(u'…'));
    EXPECT_TRUE(c.text.endsWith(u'…'));
    EXPECT_FALSE(c.text.contains(u'\n'));
    EXPECT_FALSE(c.text.contains(u'\t'));
    EXPECT_LT(c.text.size(), 90);

    // A short line stays whole; a character of two units is never cut in half.
    const QString emoji = u"a😀😀😀😀😀😀😀😀😀😀😀x"_s;
    const auto inEmoji = SearchText::Pattern(u"x"_s, {}).findLines(emoji, 1);
    const SearchText::Context e = SearchText::contextOf(emoji, inEmoji.at(0));
    EXPECT_FALSE(e.text.at(1).isLowSurrogate());
    EXPECT_EQ(e.text.mid(e.start, e.length), u"x"_s);
}

} // namespace
