#include "controls/model/CommaText.h"

#include <gtest/gtest.h>

#include <random>

using namespace Qt::Literals::StringLiterals;

namespace {

struct LineCase {
    QString line;
    QStringList fields;
};

void PrintTo(const LineCase& c, std::ostream* os)
{
    *os << '[' << c.line.toStdString() << ']';
}

class DecodeTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(DecodeTest, givesFields)
{
    EXPECT_EQ(CommaText::decode(GetParam().line), GetParam().fields);
}

INSTANTIATE_TEST_SUITE_P(
    Separators, DecodeTest,
    ::testing::Values(LineCase{u"a,b,c"_s, {u"a"_s, u"b"_s, u"c"_s}},
                      LineCase{u"a,,b"_s, {u"a"_s, QString(), u"b"_s}},
                      LineCase{u"a,"_s, {u"a"_s, QString()}},
                      LineCase{u",,,"_s, {QString(), QString(), QString(), QString()}},
                      LineCase{u","_s, {QString(), QString()}}, LineCase{u",a"_s, {QString(), u"a"_s}},
                      // A comma followed only by blanks is not the last character: no extra field.
                      LineCase{u"a, "_s, {u"a"_s}}));

INSTANTIATE_TEST_SUITE_P(
    Blanks, DecodeTest,
    ::testing::Values(LineCase{QString(), {}}, LineCase{u"   "_s, {}}, LineCase{u"\t\x01\x1f"_s, {}},
                      LineCase{u"  a ,  b  "_s, {u"a"_s, u"b"_s}},
                      // An unquoted blank ends the field; what follows is a field of its own.
                      LineCase{u"a b,c"_s, {u"a"_s, u"b"_s, u"c"_s}}, LineCase{u"a\tb"_s, {u"a"_s, u"b"_s}},
                      // Only U+0001..U+0020 are blanks; the ideographic space and NUL are text.
                      LineCase{u"予定\u3000会議,x"_s, {u"予定\u3000会議"_s, u"x"_s}},
                      LineCase{u"a\0b"_s, {u"a\0b"_s}}));

INSTANTIATE_TEST_SUITE_P(
    Quotes, DecodeTest,
    ::testing::Values(LineCase{u"\"\""_s, {QString()}}, LineCase{u"\"a,b\",c"_s, {u"a,b"_s, u"c"_s}},
                      LineCase{u"\"say \"\"hi\"\"\""_s, {u"say \"hi\""_s}},
                      LineCase{u"\" a\tb \""_s, {u" a\tb "_s}},
                      LineCase{u"\"\",\"\""_s, {QString(), QString()}},
                      // Text after the closing quote up to the next comma is its own field.
                      LineCase{u"\"ab\"cd,e"_s, {u"ab"_s, u"cd"_s, u"e"_s}},
                      LineCase{u"\"ab\" cd"_s, {u"ab"_s, u"cd"_s}},
                      // A quote inside an unquoted field is an ordinary character.
                      LineCase{u"a\"b,c"_s, {u"a\"b"_s, u"c"_s}},
                      // An opening quote never closed runs to the end of the line.
                      LineCase{u"a,\"b, c"_s, {u"a"_s, u"b, c"_s}}, LineCase{u"\"x\"\""_s, {u"x\""_s}},
                      LineCase{u"\""_s, {QString()}}, LineCase{u"\"a\","_s, {u"a"_s, QString()}}));

INSTANTIATE_TEST_SUITE_P(Japanese, DecodeTest,
                         ::testing::Values(LineCase{u"1日(月),会議,\"歯医者, 3時\","_s,
                                                    {u"1日(月)"_s, u"会議"_s, u"歯医者, 3時"_s, QString()}},
                                           // Characters kept for undecodable bytes are ordinary text.
                                           LineCase{u"\uF780\uF7FD,\uF7A0"_s,
                                                    {u"\uF780\uF7FD"_s, u"\uF7A0"_s}}));

class EncodeTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(EncodeTest, givesLine)
{
    EXPECT_EQ(CommaText::encode(GetParam().fields), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, EncodeTest,
    ::testing::Values(LineCase{QString(), {}}, LineCase{u"\"\""_s, {QString()}},
                      LineCase{u",,,"_s, {QString(), QString(), QString(), QString()}},
                      LineCase{u","_s, {QString(), QString()}}, LineCase{u"a,b"_s, {u"a"_s, u"b"_s}},
                      LineCase{u"\"a,b\""_s, {u"a,b"_s}}, LineCase{u"\"a b\",\"\t\""_s, {u"a b"_s, u"\t"_s}},
                      LineCase{u"\"say \"\"hi\"\"\""_s, {u"say \"hi\""_s}},
                      LineCase{u"\"\x01\",\"\x1f\",\x7f"_s, {u"\x01"_s, u"\x1f"_s, u"\x7f"_s}},
                      LineCase{u"3日(土),\"会議 10時\",予定\u3000あり"_s,
                               {u"3日(土)"_s, u"会議 10時"_s, u"予定\u3000あり"_s}}));

// Random rows of single-line fields read back as themselves.
TEST(CommaTextRoundTrip, randomRowsDecodeToThemselves)
{
    const QStringList pieces = {u" "_s,    u"\""_s,   u","_s,  u"\t"_s, u"a"_s,      u"Z9"_s,
                                u"予定"_s, u"会議"_s, u"★"_s,  u"ｶﾅ"_s, u"\u3000"_s, u"\x01"_s,
                                u"\x1f"_s, u"\"\""_s, u",,"_s, u"表"_s, u"\uF780"_s, u"\x7f"_s};
    std::mt19937 rng(20010203);
    std::uniform_int_distribution<int> fieldCount(0, 6);
    std::uniform_int_distribution<int> pieceCount(0, 5);
    std::uniform_int_distribution<int> pick(0, int(pieces.size()) - 1);
    for (int round = 0; round < 5000; ++round) {
        QStringList fields;
        const int n = fieldCount(rng);
        for (int f = 0; f < n; ++f) {
            QString field;
            const int parts = pieceCount(rng);
            for (int p = 0; p < parts; ++p)
                field += pieces.at(pick(rng));
            fields.append(field);
        }
        const QString line = CommaText::encode(fields);
        ASSERT_EQ(CommaText::decode(line), fields) << "line: " << line.toStdString();
    }
}

} // namespace
