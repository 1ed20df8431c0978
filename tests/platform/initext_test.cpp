#include "platform/IniText.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using namespace Qt::StringLiterals;

struct ReadCase {
    const char* name;
    QString text;
    QString section;
    QString key;
    std::optional<QString> expected;
};

void PrintTo(const ReadCase& c, std::ostream* os)
{
    *os << c.name;
}

class IniTextRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(IniTextRead, findsTheValueTheProfileFunctionsWould)
{
    const ReadCase& c = GetParam();
    const std::optional<QString> got = IniText(c.text).value(c.section, c.key);
    ASSERT_EQ(got.has_value(), c.expected.has_value());
    if (got) {
        EXPECT_EQ(*got, *c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniTextRead,
    ::testing::Values(
        ReadCase{"plain", u"[Pos]\r\nTop=12\r\n"_s, u"Pos"_s, u"Top"_s, u"12"_s},
        ReadCase{"namesIgnoreCase", u"[pOS]\r\ntOP=1\r\n"_s, u"Pos"_s, u"TOP"_s, u"1"_s},
        ReadCase{"fullWidthNamesIgnoreCase", u"[ＰＯＳ]\nＴｏｐ=2\n"_s, u"ｐｏｓ"_s, u"ｔｏＰ"_s, u"2"_s},
        ReadCase{"blanksAroundKeyAndValue", u"[Pos]\n \tTop \t=  5 \t\n"_s, u"Pos"_s, u"Top"_s, u"5"_s},
        ReadCase{"blanksInsideBrackets", u"  [ Pos ]  trailing\nTop=3\n"_s, u"Pos"_s, u"Top"_s, u"3"_s},
        ReadCase{"requestedNamesTrimmed", u"[Pos]\nTop=4\n"_s, u" Pos\t"_s, u" Top "_s, u"4"_s},
        ReadCase{"quotesDropped", u"[S]\nk=\"  a b \"\n"_s, u"S"_s, u"k"_s, u"  a b "_s},
        ReadCase{"emptyQuotes", u"[S]\nk=\"\"\n"_s, u"S"_s, u"k"_s, QString()},
        ReadCase{"loneQuoteKept", u"[S]\nk=\"\n"_s, u"S"_s, u"k"_s, u"\""_s},
        ReadCase{"onlyOnePairDropped", u"[S]\nk=\"\"a\"\"\n"_s, u"S"_s, u"k"_s, u"\"a\""_s},
        ReadCase{"innerQuotesKept", u"[S]\nk=\"a\"b\"\n"_s, u"S"_s, u"k"_s, u"a\"b"_s},
        ReadCase{"singleQuotesKept", u"[S]\nk='a'\n"_s, u"S"_s, u"k"_s, u"'a'"_s},
        ReadCase{"openingQuoteOnly", u"[S]\nk=\"abc\n"_s, u"S"_s, u"k"_s, u"\"abc"_s},
        ReadCase{"equalsInValue", u"[S]\nk=b=c\n"_s, u"S"_s, u"k"_s, u"b=c"_s},
        ReadCase{"emptyValueIsNotMissing", u"[S]\nk=\n"_s, u"S"_s, u"k"_s, QString()},
        ReadCase{"missingSection", u"[S]\nk=1\n"_s, u"T"_s, u"k"_s, std::nullopt},
        ReadCase{"missingKey", u"[S]\nk=1\n"_s, u"S"_s, u"j"_s, std::nullopt},
        ReadCase{"keyOfNextSection", u"[S]\n[T]\nk=1\n"_s, u"S"_s, u"k"_s, std::nullopt},
        ReadCase{"keyBeforeAnySection", u"k=1\n[S]\n"_s, u"S"_s, u"k"_s, std::nullopt},
        ReadCase{"firstKeyWins", u"[S]\nk=1\nK=2\n"_s, u"S"_s, u"k"_s, u"1"_s},
        ReadCase{"firstSectionWins", u"[S]\nk=1\n[s]\nk=2\n"_s, u"S"_s, u"k"_s, u"1"_s},
        ReadCase{"laterDuplicateSectionUnseen", u"[S]\na=1\n[s]\nk=2\n"_s, u"S"_s, u"k"_s, std::nullopt},
        ReadCase{"commentIsNoKey", u"[S]\n;k=1\n  ; k=2\n"_s, u"S"_s, u"k"_s, std::nullopt},
        ReadCase{"lineWithoutEqualsIsNoKey", u"[S]\nk\n"_s, u"S"_s, u"k"_s, std::nullopt},
        ReadCase{"headerWithoutBracketIsNoSection", u"[S\nk=1\n"_s, u"S"_s, u"k"_s, std::nullopt},
        ReadCase{"crOnlyLines", u"[S]\rk=1\rj=2"_s, u"S"_s, u"j"_s, u"2"_s},
        ReadCase{"bracketInKeyName", u"[S]\na[1]=x\n"_s, u"S"_s, u"a[1]"_s, u"x"_s},
        ReadCase{"japaneseNames", u"[ゾーン]\n予定=表示\n"_s, u"ゾーン"_s, u"予定"_s, u"表示"_s}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IniTextRead, valuesAreCutAt2047BytesOfCodePageText)
{
    const QString exact(2047, u'x');
    const QString longer(3000, u'y');
    EXPECT_EQ(IniText(u"[S]\nk="_s + exact).value(u"S", u"k"), exact);
    EXPECT_EQ(IniText(u"[S]\nk="_s + longer).value(u"S", u"k"), longer.left(2047));
    // The quotes go before the cut.
    EXPECT_EQ(IniText(u"[S]\nk=\""_s + exact + u"\""_s).value(u"S", u"k"), exact);
    // Japanese takes two bytes a character, and the last one is never split.
    EXPECT_EQ(IniText(u"[S]\nk="_s + QString(1500, u'予')).value(u"S", u"k"), QString(1023, u'予'));
    EXPECT_EQ(IniText(u"[S]\nk=a"_s + QString(1500, u'予')).value(u"S", u"k"), u"a"_s + QString(1023, u'予'));
    EXPECT_EQ(IniText(u"[S]\nk="_s + QString(2000, u'ｱ') + QString(30, u'予')).value(u"S", u"k"),
              QString(2000, u'ｱ') + QString(23, u'予'));
    // A character outside the basic plane is not split in half.
    const QString pairs = QString(2046, u'a') + u"😀😀"_s;
    EXPECT_EQ(IniText(u"[S]\nk="_s + pairs).value(u"S", u"k"), QString(2046, u'a'));
}

TEST(IniTextWrite, everyLineEndsWithCrLfAndStaysAsItWas)
{
    const QString text = u"; c\n\n  [ a ]  x\r\nodd line\rk = v \n;end"_s;
    EXPECT_EQ(IniText(text).toString(), u"; c\r\n\r\n  [ a ]  x\r\nodd line\r\nk = v \r\n;end\r\n"_s);
    EXPECT_EQ(IniText().toString(), QString());
}

struct PlaceCase {
    const char* name;
    QString before;
    QString section;
    QString key;
    QString value;
    QString after;
};

void PrintTo(const PlaceCase& c, std::ostream* os)
{
    *os << c.name;
}

class IniTextPlace : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(IniTextPlace, putsTheLineWhereWindowsWould)
{
    const PlaceCase& c = GetParam();
    IniText ini(c.before);
    EXPECT_TRUE(ini.setValue(c.section, c.key, c.value));
    EXPECT_EQ(ini.toString(), c.after);
    EXPECT_EQ(ini.value(c.section, c.key), c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniTextPlace,
    ::testing::Values(
        PlaceCase{"emptyFile", QString(), u"Pos"_s, u"Top"_s, u"1"_s, u"[Pos]\r\nTop=1\r\n"_s},
        PlaceCase{"newSectionAtEnd", u"[A]\r\nx=1\r\n\r\n; tail\r\n"_s, u"B"_s, u"y"_s, u"2"_s,
                  u"[A]\r\nx=1\r\n\r\n; tail\r\n[B]\r\ny=2\r\n"_s},
        PlaceCase{"newSectionNamesTrimmed", QString(), u" B "_s, u" y\t"_s, u"2"_s, u"[B]\r\ny=2\r\n"_s},
        PlaceCase{"newKeyAfterLastKey", u"[A]\r\nx=1\r\n; about B\r\n\r\n[B]\r\nz=3\r\n"_s, u"a"_s, u"y"_s,
                  u"2"_s, u"[A]\r\nx=1\r\ny=2\r\n; about B\r\n\r\n[B]\r\nz=3\r\n"_s},
        PlaceCase{"newKeyInSectionWithoutKeys", u"[A]\r\n; nothing yet\r\n[B]\r\n"_s, u"A"_s, u"y"_s, u"2"_s,
                  u"[A]\r\ny=2\r\n; nothing yet\r\n[B]\r\n"_s},
        PlaceCase{"newKeyInLastSection", u"[A]\nx=1"_s, u"A"_s, u"y"_s, u"2"_s, u"[A]\r\nx=1\r\ny=2\r\n"_s},
        PlaceCase{"newKeyGoesToFirstOfDuplicateSections", u"[A]\r\n[a]\r\ny=9\r\n"_s, u"A"_s, u"y"_s, u"2"_s,
                  u"[A]\r\ny=2\r\n[a]\r\ny=9\r\n"_s},
        PlaceCase{"replaceKeepsSpellingAndSpacing", u"[A]\r\n  TOP = 5 \r\nx=1\r\n"_s, u"a"_s, u"top"_s,
                  u"7"_s, u"[A]\r\n  TOP = 7\r\nx=1\r\n"_s},
        PlaceCase{"replaceFirstDuplicateOnly", u"[A]\r\nk=1\r\nk=2\r\n"_s, u"A"_s, u"K"_s, u"3"_s,
                  u"[A]\r\nk=3\r\nk=2\r\n"_s},
        PlaceCase{"replaceEmptyValue", u"[A]\r\nk=\r\n"_s, u"A"_s, u"k"_s, u"v"_s, u"[A]\r\nk=v\r\n"_s}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IniTextWrite, sameValueChangesNothingWhateverBlanksTheLineCarries)
{
    for (const QString& line : {u"k = v"_s, u"k=v  "_s, u"k =\tv\t"_s, u"k=\"v\""_s, u"k=v\0old"_s}) {
        IniText ini(u"[A]\n"_s + line + u"\n"_s);
        EXPECT_FALSE(ini.setValue(u"a", u"K", u"v")) << line.toStdString();
        EXPECT_EQ(ini.toString(), u"[A]\r\n"_s + line + u"\r\n"_s);
    }
    // Blanks that belong to the value are a change.
    IniText quoted(u"[A]\nk=v\n"_s);
    EXPECT_TRUE(quoted.setValue(u"A", u"k", u"v "));
    EXPECT_EQ(quoted.value(u"A", u"k"), u"v "_s);
}

TEST(IniTextRead, defaultLosesItsTrailingBlanks)
{
    EXPECT_EQ(IniText::readDefault(u" d \t "), u" d"_s);
    EXPECT_EQ(IniText::readDefault(u"   "), QString());
    EXPECT_EQ(IniText::readDefault(QString(3000, u'予')), QString(1023, u'予'));
}

TEST(IniTextWrite, valuesThatWouldNotReadBackAreProtected)
{
    struct {
        QString value;
        QString line;
        QString readBack;
    } const cases[] = {
        {u" lead"_s, u"k=\" lead\""_s, u" lead"_s},
        {u"trail\t"_s, u"k=\"trail\t\""_s, u"trail\t"_s},
        {u"\"q\""_s, u"k=\"\"q\"\""_s, u"\"q\""_s},
        {u"\"\""_s, u"k=\"\"\"\""_s, u"\"\""_s},
        {u"\""_s, u"k=\""_s, u"\""_s},
        {u"\"open"_s, u"k=\"open"_s, u"\"open"_s},
        // Line breaks would start new lines (a forged section or key): written as spaces.
        {u"a\r\n[Evil]\r\nx=1"_s, u"k=a [Evil] x=1"_s, u"a [Evil] x=1"_s},
        {u"a\rb\nc"_s, u"k=a b c"_s, u"a b c"_s},
        {u"end\n"_s, u"k=\"end \""_s, u"end "_s},
        {QString(u"n\0ul"_s), u"k=n ul"_s, u"n ul"_s},
        {u"=;[x]"_s, u"k==;[x]"_s, u"=;[x]"_s},
    };
    for (const auto& c : cases) {
        IniText ini;
        ASSERT_TRUE(ini.setValue(u"S", u"k", c.value));
        ASSERT_EQ(ini.lines().size(), 2) << c.value.toStdString();
        EXPECT_EQ(ini.lines().at(1), c.line);
        EXPECT_EQ(ini.value(u"S", u"k"), c.readBack);
        EXPECT_EQ(IniText(ini.toString()).value(u"S", u"k"), c.readBack);
        EXPECT_FALSE(IniText(ini.toString()).value(u"Evil", u"x").has_value());
    }
}

TEST(IniTextWrite, namesThatCannotReadBackAreRefused)
{
    for (const QString& s : {u""_s, u"  "_s, u"a]b"_s, u"a\nb"_s, u"a\rb"_s, QString(u"a\0b"_s)}) {
        EXPECT_FALSE(IniText::isValidSection(s)) << s.toStdString();
        IniText ini(u"[A]\nk=1\n"_s);
        EXPECT_FALSE(ini.setValue(s, u"k", u"v"));
        EXPECT_EQ(ini.toString(), u"[A]\r\nk=1\r\n"_s);
    }
    for (const QString& k : {u""_s, u"\t"_s, u"a=b"_s, u"[k"_s, u";k"_s, u"a\r\nb"_s, QString(u"\0"_s)}) {
        EXPECT_FALSE(IniText::isValidKey(k)) << k.toStdString();
        IniText ini(u"[A]\nk=1\n"_s);
        EXPECT_FALSE(ini.setValue(u"A", k, u"v"));
        EXPECT_EQ(ini.toString(), u"[A]\r\nk=1\r\n"_s);
    }
    for (const QString& fine : {u"a[b"_s, u" x "_s, u"予定"_s}) {
        EXPECT_TRUE(IniText::isValidSection(fine));
        EXPECT_TRUE(IniText::isValidKey(fine));
    }
    EXPECT_TRUE(IniText::isValidSection(u"[x"));
    EXPECT_TRUE(IniText::isValidKey(u"a]b"));
}

TEST(IniTextRemove, removesEveryLineOfTheKeyInTheFirstSection)
{
    IniText ini(u"[A]\r\nk=1\r\n; c\r\nK = 2\r\nj=3\r\n[B]\r\nk=4\r\n[a]\r\nk=5\r\n"_s);
    EXPECT_TRUE(ini.remove(u" a ", u"k"));
    EXPECT_EQ(ini.toString(), u"[A]\r\n; c\r\nj=3\r\n[B]\r\nk=4\r\n[a]\r\nk=5\r\n"_s);
    EXPECT_FALSE(ini.value(u"A", u"k").has_value());
    EXPECT_EQ(ini.value(u"B", u"k"), u"4"_s);
}

TEST(IniTextRemove, missingKeyOrSectionChangesNothing)
{
    const QString text = u"[A]\r\nk=1\r\n;j=2\r\n"_s;
    for (auto [section, key] : {std::pair{u"A"_s, u"j"_s}, {u"B"_s, u"k"_s}, {u"A"_s, QString()}}) {
        IniText ini(text);
        EXPECT_FALSE(ini.remove(section, key));
        EXPECT_EQ(ini.toString(), text);
    }
    // The last key of a section goes; the header stays.
    IniText ini(text);
    EXPECT_TRUE(ini.remove(u"A", u"k"));
    EXPECT_EQ(ini.toString(), u"[A]\r\n;j=2\r\n"_s);
}

TEST(IniTextBytes, shiftJisIsParsedByCharacterNotByByte)
{
    // "ゾ" is 83 5D and "ー" 81 5B: a byte parser would see "]" and "[" inside the name.
    const QByteArray bytes("[\x83\x5d\x81\x5b\x83\x93]\r\n\x97\x5c\x92\xe8=\x95\x5c\x8e\xa6\r\n");
    const IniText ini = IniText::fromBytes(bytes);
    EXPECT_EQ(ini.value(u"ゾーン", u"予定"), u"表示"_s);
    EXPECT_EQ(ini.toBytes(), bytes);
}

TEST(IniTextBytes, undecodableBytesSurviveInUntouchedLines)
{
    const QByteArray kept("; \x80\xa0\xfd\xfe\xff \x81\r\n");
    IniText ini = IniText::fromBytes(kept + "[A]\r\nk=1\r\n");
    ASSERT_TRUE(ini.setValue(u"A", u"k", u"★"));
    EXPECT_EQ(ini.toBytes(), kept + "[A]\r\nk=\x81\x9a\r\n");
}

} // namespace

// Kept bytes that happen to open like a UTF-16 byte order mark must not turn the file into UTF-16
// at its next reading.
TEST(IniTextBytes, keptBytesLikeAUtf16MarkReadBackAsTheSameLines)
{
    for (const QByteArray& bytes : {QByteArray("\xEF\xBB\xBF\xFE\xFF[A]\r\nk=v\r\n"),
                                    QByteArray("\xEF\xBB\xBF\xFF\xFE[A]\r\nk=v\r\n")}) {
        const IniText ini = IniText::fromBytes(bytes);
        EXPECT_EQ(IniText::fromBytes(ini.toBytes()).lines(), ini.lines());
    }
}
