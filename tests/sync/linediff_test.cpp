#include "sync/model/LineDiff.h"
#include "sync/model/MergeText.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

using LineDiff::Side;

// The comparison in one line per entry: "  common", "- only first", "+ only second".
QStringList shown(const QString& first, const QString& second)
{
    QStringList out;
    for (const LineDiff::Line& l :
         LineDiff::compare(LineDiff::splitLines(first), LineDiff::splitLines(second))) {
        const char* mark = l.side == Side::Both ? "  " : l.side == Side::First ? "- " : "+ ";
        out << QString::fromLatin1(mark) + l.text;
    }
    return out;
}

TEST(LineDiff, linesAreSplitAtEveryKindOfBreak)
{
    EXPECT_EQ(LineDiff::splitLines(u"a\r\nb\rc\nd"), QStringList({u"a"_s, u"b"_s, u"c"_s, u"d"_s}));
    EXPECT_EQ(LineDiff::splitLines(u"a\r\n"), QStringList({u"a"_s}));
    EXPECT_EQ(LineDiff::splitLines(u"a\r\n\r\n"), QStringList({u"a"_s, QString()}));
    EXPECT_EQ(LineDiff::splitLines(u"\r\n"), QStringList({QString()}));
    EXPECT_TRUE(LineDiff::splitLines(u"").isEmpty());
    EXPECT_TRUE(LineDiff::endsWithBreak(u"a\r\n"));
    EXPECT_FALSE(LineDiff::endsWithBreak(u"a"));
}

struct Case {
    const char16_t* first;
    const char16_t* second;
    QStringList expected;
};

TEST(LineDiff, commonLinesOnceAndTheRestMarked)
{
    const Case cases[] = {
        {u"a\r\nb\r\nc", u"a\r\nb\r\nc", {u"  a"_s, u"  b"_s, u"  c"_s}},
        {u"a\r\nc", u"a\r\nb\r\nc", {u"  a"_s, u"+ b"_s, u"  c"_s}},
        {u"a\r\nb\r\nc", u"b\r\nc", {u"- a"_s, u"  b"_s, u"  c"_s}},
        {u"a\r\nb\r\nc", u"a\r\nB\r\nc", {u"  a"_s, u"- b"_s, u"+ B"_s, u"  c"_s}},
        {u"", u"a\r\nb", {u"+ a"_s, u"+ b"_s}},
        {u"a\r\nb", u"", {u"- a"_s, u"- b"_s}},
        {u"", u"", {}},
        {u"会議\r\n昼食\r\n帰宅",
         u"会議\r\n夕食\r\n帰宅\r\n日記",
         {u"  会議"_s, u"- 昼食"_s, u"+ 夕食"_s, u"  帰宅"_s, u"+ 日記"_s}},
        // a line that comes back is a line of its own
        {u"a\r\nb\r\na", u"a", {u"  a"_s, u"- b"_s, u"- a"_s}},
        {u"a", u"b\r\na\r\nb", {u"+ b"_s, u"  a"_s, u"+ b"_s}},
        // empty lines are lines
        {u"a\r\n\r\nb", u"a\r\nb", {u"  a"_s, u"- "_s, u"  b"_s}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(shown(QString::fromUtf16(c.first), QString::fromUtf16(c.second)), c.expected)
            << QString::fromUtf16(c.first).toStdString() << " | "
            << QString::fromUtf16(c.second).toStdString();
}

// Whatever the texts, the common lines and the first's lines put back give the first text,
// likewise for the second, and no common line could be longer: the script is a shortest one.
TEST(LineDiff, everyScriptRebuildsBothTextsAndIsShortest)
{
    QRandomGenerator random(20261209);
    for (int round = 0; round < 300; ++round) {
        QStringList a;
        QStringList b;
        const int n = int(random.bounded(12));
        const int m = int(random.bounded(12));
        for (int i = 0; i < n; ++i)
            a << QString(QChar(u'a' + random.bounded(3)));
        for (int i = 0; i < m; ++i)
            b << QString(QChar(u'a' + random.bounded(3)));
        QStringList first;
        QStringList second;
        qsizetype common = 0;
        for (const LineDiff::Line& l : LineDiff::compare(a, b)) {
            if (l.side != Side::Second) {
                ASSERT_EQ(l.first, first.size());
                first << l.text;
            }
            if (l.side != Side::First) {
                ASSERT_EQ(l.second, second.size());
                second << l.text;
            }
            common += l.side == Side::Both;
        }
        ASSERT_EQ(first, a);
        ASSERT_EQ(second, b);
        // The longest common subsequence, the slow way.
        std::vector<std::vector<int>> lcs(size_t(n + 1), std::vector<int>(size_t(m + 1), 0));
        for (int i = n - 1; i >= 0; --i)
            for (int j = m - 1; j >= 0; --j)
                lcs[size_t(i)][size_t(j)] =
                    a[i] == b[j] ? lcs[size_t(i + 1)][size_t(j + 1)] + 1
                                 : std::max(lcs[size_t(i + 1)][size_t(j)], lcs[size_t(i)][size_t(j + 1)]);
        ASSERT_EQ(common, lcs[0][0]) << a.join(u"").toStdString() << " | " << b.join(u"").toStdString();
    }
}

TEST(LineDiff, textsTooDifferentStillGiveAValidScript)
{
    QStringList a;
    QStringList b;
    for (int i = 0; i < 5000; ++i) {
        a << u"a%1"_s.arg(i);
        b << u"b%1"_s.arg(i);
    }
    a.prepend(u"same"_s);
    b.prepend(u"same"_s);
    const std::vector<LineDiff::Line> lines = LineDiff::compare(a, b);
    ASSERT_EQ(lines.size(), size_t(1 + 5000 + 5000));
    EXPECT_EQ(lines.front().side, Side::Both);
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const auto& l) { return l.side == Side::First; }),
              5000);
}

TEST(MergeText, eachChoiceGivesItsText)
{
    const QString file = u"会議\r\n昼食\r\n帰宅\r\n"_s;
    const QString copy = u"会議\r\n夕食\r\n帰宅\r\n日記\r\n"_s;
    EXPECT_EQ(MergeText::merged(file, copy, MergeText::Choice::File), file);
    EXPECT_EQ(MergeText::merged(file, copy, MergeText::Choice::Copy), copy);
    EXPECT_EQ(MergeText::merged(file, copy, MergeText::Choice::Both),
              u"会議\r\n昼食\r\n帰宅\r\n夕食\r\n日記\r\n"_s);
}

TEST(MergeText, bothKeepsTheFilesShapeAndPageBreaks)
{
    using MergeText::Choice;
    // No break at the end: one goes between the file and the lines added.
    EXPECT_EQ(MergeText::merged(u"a\r\nb"_s, u"a\r\nc"_s, Choice::Both), u"a\r\nb\r\nc"_s);
    EXPECT_EQ(MergeText::merged(u""_s, u"x\ny\n"_s, Choice::Both), u"x\r\ny"_s);
    EXPECT_EQ(MergeText::merged(u"a\r\n"_s, u"a\nb\n"_s, Choice::Both), u"a\r\nb\r\n"_s);
    // An empty line the copy added last keeps its break, or it would be no line at all.
    EXPECT_EQ(MergeText::merged(u"a\r\nb"_s, u"a\r\nc\r\n\r\n"_s, Choice::Both), u"a\r\nb\r\nc\r\n\r\n"_s);
    EXPECT_EQ(LineDiff::splitLines(MergeText::merged(u"a"_s, u"\r\n"_s, Choice::Both)),
              QStringList({u"a"_s, QString()}));
    // Nothing only in the copy: the file as it is, bytes and all.
    EXPECT_EQ(MergeText::merged(u"a\r\nb\r\n"_s, u"b"_s, Choice::Both), u"a\r\nb\r\n"_s);
    EXPECT_EQ(MergeText::merged(u"a\rb"_s, u""_s, Choice::Both), u"a\rb"_s);
}

} // namespace
