#include "platform/AnsiText.h"
#include "platform/Failure.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <QDir>

#include <csignal>
#include <optional>
#include <random>

#include <sys/resource.h>

namespace {

QByteArray bytes(std::initializer_list<int> list)
{
    QByteArray out;
    for (int b : list)
        out.append(char(b));
    return out;
}

struct CodeVector {
    const char* name;
    QByteArray cp932;
    char16_t unicode;
};

class CodePageVector : public ::testing::TestWithParam<CodeVector> {};

TEST_P(CodePageVector, decodesAndEncodesBothWays)
{
    const CodeVector& v = GetParam();
    const QString text = AnsiText::decode(v.cp932);
    ASSERT_EQ(text.size(), 1);
    EXPECT_EQ(text.at(0).unicode(), v.unicode);
    EXPECT_EQ(AnsiText::encode(QString(QChar(v.unicode))), v.cp932);
}

INSTANTIATE_TEST_SUITE_P(Windows, CodePageVector,
                         ::testing::Values(CodeVector{"wave", bytes({0x81, 0x60}), 0xFF5E},
                                           CodeVector{"backslash", bytes({0x5C}), 0x005C},
                                           CodeVector{"fullwidthBackslash", bytes({0x81, 0x5F}), 0xFF3C},
                                           CodeVector{"circledOne", bytes({0x87, 0x40}), 0x2460},
                                           CodeVector{"smallRomanOne", bytes({0xFA, 0x40}), 0x2170},
                                           CodeVector{"halfwidthA", bytes({0xB1}), 0xFF71},
                                           CodeVector{"halfwidthStop", bytes({0xA1}), 0xFF61},
                                           CodeVector{"halfwidthSemiVoiced", bytes({0xDF}), 0xFF9F},
                                           CodeVector{"hiraganaA", bytes({0x82, 0xA0}), 0x3042},
                                           CodeVector{"blackStar", bytes({0x81, 0x9A}), 0x2605},
                                           CodeVector{"userDefinedFirst", bytes({0xF0, 0x40}), 0xE000}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AnsiText, controlBytesMapOneToOneUnlikeIcu)
{
    QByteArray all;
    for (int b = 0; b < 0x80; ++b)
        all.append(char(b));
    const QString text = AnsiText::decodeCp932(all);
    ASSERT_EQ(text.size(), 0x80);
    for (int b = 0; b < 0x80; ++b)
        EXPECT_EQ(text.at(b).unicode(), b) << b;
    EXPECT_EQ(AnsiText::encode(text), all);
}

TEST(AnsiText, undecodableBytesSurviveRoundTrip)
{
    // 0x80, 0xA0, 0xFD-0xFF decode in no table; 0x85 0x40 is an unassigned pair; a lead byte at
    // the end has no trail.
    const QByteArray raw = bytes({0x41, 0x80, 0xA0, 0xFD, 0xFE, 0xFF, 0x85, 0x40, 0x82, 0xA0, 0x81});
    const QString text = AnsiText::decode(raw);
    EXPECT_TRUE(AnsiText::fitsCp932(text));
    EXPECT_EQ(AnsiText::encode(text), raw);
    EXPECT_TRUE(text.contains(QChar(0x3042)));
}

TEST(AnsiText, leadByteBeforeSeparatorDoesNotSwallowIt)
{
    // A lead byte followed by a comma is no pair: the comma stays a comma.
    const QString text = AnsiText::decodeCp932(bytes({0x81, ',', 'a'}));
    ASSERT_EQ(text.size(), 3);
    EXPECT_EQ(text.at(1), QLatin1Char(','));
}

TEST(AnsiText, textOutsideCodePageIsWrittenAsUtf8WithBom)
{
    const QString samples[] = {QStringLiteral("caf\u00e9"), QString::fromUtf8("予定 \xF0\x9F\x98\x80 です"),
                               QStringLiteral("\u00a5100")};
    for (const QString& s : samples) {
        const QByteArray out = AnsiText::encode(s);
        EXPECT_TRUE(out.startsWith("\xEF\xBB\xBF")) << s.toStdString();
        EXPECT_FALSE(AnsiText::fitsCp932(s));
        EXPECT_EQ(AnsiText::decode(out), s);
    }
}

TEST(AnsiText, japaneseTextIsWrittenAsCodePage)
{
    const QString s = QStringLiteral("3日(土) ★会議～");
    const QByteArray out = AnsiText::encode(s);
    EXPECT_FALSE(out.startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(out.size(), 16); // "3", "(", ")" and the space are single bytes
    EXPECT_EQ(AnsiText::decode(out), s);
}

TEST(AnsiText, codePageBytesThatLookLikeUtf8AreMarked)
{
    // These characters' code page bytes spell UTF-8 "こんにちは"; written plainly they would read back wrong.
    const QString mojibake = QStringLiteral("縺薙ｓ縺ｫ縺｡縺ｯ");
    const QByteArray out = AnsiText::encode(mojibake);
    EXPECT_TRUE(out.startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(AnsiText::decode(out), mojibake);
}

TEST(AnsiText, byteOrderMarkInsideTextIsKept)
{
    const QString text = QStringLiteral("a\uFEFFb\u00e9");
    EXPECT_EQ(AnsiText::decode(AnsiText::encode(text)), text);
    EXPECT_EQ(AnsiText::decode(QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFx\xC3\xA9")),
              QStringLiteral("\uFEFFx\u00e9"));
    EXPECT_EQ(AnsiText::decode(QByteArray("\xE4\xBA\x88\xEF\xBB\xBF")), QStringLiteral("予\uFEFF"));
}

TEST(AnsiText, keptLeadByteNeverSwallowsTheNextCharacter)
{
    // A lone lead byte before "]" or "÷" (whose first byte is a trail byte) would pair up on reading.
    for (const QString& next : {QStringLiteral("]"), QStringLiteral("÷"), QStringLiteral("A")}) {
        const QString text = QString(QChar(char16_t(0xF794))) + next;
        EXPECT_EQ(AnsiText::decode(AnsiText::encode(text)), text) << next.toStdString();
    }
    // A byte kept from a broken UTF-8 file that is katakana in the code page.
    const QString fromUtf8 = AnsiText::decode(QByteArray("\xEF\xBB\xBF\xA9"));
    EXPECT_EQ(AnsiText::decode(AnsiText::encode(fromUtf8)), fromUtf8);
    // Kept bytes that would join into UTF-8 next to an emoji.
    const QString joined = AnsiText::decodeCp932(bytes({0xE3, 0x80})) + QChar(char16_t(0xF780)) +
                           QString::fromUtf8("\xF0\x9F\x98\x80");
    EXPECT_EQ(AnsiText::decode(AnsiText::encode(joined)), joined);
    // A genuine character of the escape range next to kept bytes, in text that is UTF-8 anyway.
    const QByteArray mixed("\xEF\xBB\xBF\xEF\xBB\xBF+\xEF\x9F\x87\x87\x87N");
    EXPECT_EQ(AnsiText::decode(AnsiText::encode(AnsiText::decode(mixed))), AnsiText::decode(mixed));
    // Where no pair forms the code page stays.
    const QByteArray unassigned = bytes({0x85, 0x40});
    EXPECT_EQ(AnsiText::encode(AnsiText::decode(unassigned)), unassigned);
}

struct ReadingCase {
    const char* name;
    QByteArray bytes;
    const char16_t* text;
};

class ReadingRule : public ::testing::TestWithParam<ReadingCase> {};

// Whatever is read as code page 932 must write back as the very same bytes.
TEST_P(ReadingRule, choosesEncodingAndWritesCodePageBytesBack)
{
    const ReadingCase& c = GetParam();
    const QString text = AnsiText::decode(c.bytes);
    EXPECT_EQ(text, QString::fromUtf16(c.text));
    if (text == AnsiText::decodeCp932(c.bytes)) {
        EXPECT_EQ(AnsiText::encode(text), c.bytes);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReadingRule,
    ::testing::Values(
        // UTF-8 written by another program of the platform, no mark.
        ReadingCase{"utf8Japanese", QByteArray("\xE4\xBA\x88\xE5\xAE\x9A"), u"予定"},
        ReadingCase{"utf8JapaneseWithAccent", QByteArray("\xC3\xA9\xE4\xBA\x88"), u"é予"},
        ReadingCase{"plainAscii", QByteArray("abc"), u"abc"},
        ReadingCase{"codePageNotUtf8", bytes({0x97, 0x5C, 0x92, 0xE8}), u"予定"},
        // Half-width katakana whose bytes are also two-byte UTF-8 ("ý", "§").
        ReadingCase{"katakanaTesu", bytes({0xC3, 0xBD}), u"ﾃｽ"},
        ReadingCase{"katakanaTsuA", bytes({0xC2, 0xA7}), u"ﾂｧ"},
        ReadingCase{"katakanaLine", QByteArray("10:00 \xC3\xBD\xC4\xB6\r\n"), u"10:00 ﾃｽﾄｶ\r\n"},
        ReadingCase{"onlyMark", QByteArray("\xEF\xBB\xBF"), u""}),
    [](const auto& info) { return std::string(info.param.name); });

struct TypedForm {
    const char* name;
    char16_t typed;
    QByteArray cp932;
    char16_t readBack;
};

class TypedForms : public ::testing::TestWithParam<TypedForm> {};

TEST_P(TypedForms, writeAsTheCodePageCharacterTheyStandFor)
{
    const TypedForm& f = GetParam();
    const QString line = QStringLiteral("10:00") + QChar(f.typed) + QStringLiteral("12:00 会議");
    EXPECT_TRUE(AnsiText::fitsCp932(line));
    const QByteArray out = AnsiText::encode(line);
    EXPECT_EQ(out, AnsiText::encode(QStringLiteral("10:00")) + f.cp932 +
                       AnsiText::encode(QStringLiteral("12:00 会議")));
    QString expected = line;
    expected[5] = QChar(f.readBack);
    EXPECT_EQ(AnsiText::decode(out), expected);
    EXPECT_EQ(AnsiText::encode(expected), out);
}

INSTANTIATE_TEST_SUITE_P(InputMethods, TypedForms,
                         ::testing::Values(TypedForm{"waveDash", 0x301C, bytes({0x81, 0x60}), 0xFF5E},
                                           TypedForm{"doubleVerticalLine", 0x2016, bytes({0x81, 0x61}),
                                                     0x2225},
                                           TypedForm{"minusSign", 0x2212, bytes({0x81, 0x7C}), 0xFF0D},
                                           TypedForm{"cent", 0x00A2, bytes({0x81, 0x91}), 0xFFE0},
                                           TypedForm{"pound", 0x00A3, bytes({0x81, 0x92}), 0xFFE1},
                                           TypedForm{"not", 0x00AC, bytes({0x81, 0xCA}), 0xFFE2},
                                           TypedForm{"emDash", 0x2014, bytes({0x81, 0x5C}), 0x2015},
                                           TypedForm{"brokenBar", 0x00A6, bytes({0xFA, 0x55}), 0xFFE4}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AnsiText, typedFormBesideKeptByteStaysCodePage)
{
    // A byte no table decodes, kept from the file, next to a typed wave dash.
    const QString text = AnsiText::decode(bytes({0x41, 0x80})) + QChar(char16_t(0x301C));
    EXPECT_EQ(AnsiText::encode(text), bytes({0x41, 0x80, 0x81, 0x60}));
}

TEST(AnsiText, malformedUtf8AfterBomKeepsBytes)
{
    const QByteArray raw("\xEF\xBB\xBF"
                         "a\xC3(\xFF\xE9");
    const QString text = AnsiText::decode(raw);
    EXPECT_TRUE(text.startsWith(u'a'));
    EXPECT_EQ(AnsiText::encode(text + QStringLiteral("\u00e9")).chopped(2), raw);
}

TEST(AnsiText, randomBytesNeverCrashAndCodePageRoundTrips)
{
    std::mt19937 rng(932);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 2000; ++round) {
        QByteArray raw;
        const int n = round % 40;
        for (int i = 0; i < n; ++i)
            raw.append(char(byte(rng)));
        const QString text = AnsiText::decode(raw);
        const QByteArray back = AnsiText::encode(text);
        EXPECT_EQ(AnsiText::decode(back), text);
    }
}

struct LineCase {
    const char* name;
    const char16_t* in;
    QStringList lines;
    const char16_t* crlf;
};

class LineBreaks : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineBreaks, splitAndNormalise)
{
    const LineCase& c = GetParam();
    const QString in = QString::fromUtf16(c.in);
    EXPECT_EQ(AnsiText::splitLines(in), c.lines);
    EXPECT_EQ(AnsiText::toCrLf(in), QString::fromUtf16(c.crlf));
}

INSTANTIATE_TEST_SUITE_P(
    AllBreaks, LineBreaks,
    ::testing::Values(
        LineCase{"empty", u"", {}, u""}, LineCase{"noBreak", u"a", {QStringLiteral("a")}, u"a"},
        LineCase{"crlf", u"a\r\nb\r\n", {QStringLiteral("a"), QStringLiteral("b")}, u"a\r\nb\r\n"},
        LineCase{"loneLf", u"a\nb", {QStringLiteral("a"), QStringLiteral("b")}, u"a\r\nb"},
        LineCase{"loneCr", u"a\rb\r", {QStringLiteral("a"), QStringLiteral("b")}, u"a\r\nb\r\n"},
        LineCase{"lfCr", u"a\n\rb", {QStringLiteral("a"), QString(), QStringLiteral("b")}, u"a\r\n\r\nb"},
        LineCase{"onlyBreak", u"\r\n", {QString()}, u"\r\n"},
        LineCase{"blankLines", u"\n\n", {QString(), QString()}, u"\r\n\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AnsiText, nulEndsText)
{
    EXPECT_EQ(AnsiText::untilNul(QByteArrayView("ab\0cd", 5)), QByteArrayView("ab"));
    EXPECT_EQ(AnsiText::untilNul(QByteArrayView("abc")), QByteArrayView("abc"));
    EXPECT_EQ(AnsiText::untilNul(QByteArrayView("\0", 1)).size(), 0);
}

TEST(AnsiTextFiles, writeReplacesAndReadReturnsBytes)
{
    TempFolder dir;
    AnsiText::writeBytes(dir.file(QStringLiteral("a.txt")), "old");
    AnsiText::writeBytes(dir.file(QStringLiteral("a.txt")), "new\r\n");
    EXPECT_EQ(AnsiText::readBytes(dir.file(QStringLiteral("a.txt"))), QByteArray("new\r\n"));
}

// A file size limit makes the write itself fail part-way, as a full disk would.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

TEST(AnsiTextFiles, failedReplaceLeavesTheTargetAsItWas)
{
    TempFolder dir;
    const QString target = dir.file(QStringLiteral("200102.csv"));
    dir.write(QStringLiteral("200102.csv"), "old month\r\n");
    {
        const FileSizeLimit limit(4);
        EXPECT_THROW(AnsiText::writeBytes(target, QByteArray(4096, 'x')), EInOutError);
    }
    EXPECT_EQ(dir.read(QStringLiteral("200102.csv")), QByteArray("old month\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("200102.csv")});
}

TEST(AnsiTextFiles, failuresThrowWithPathAndKeepOldFile)
{
    TempFolder dir;
    dir.write(QStringLiteral("plain"), "keep");
    const QString underFile = dir.file(QStringLiteral("plain/child.txt"));
    try {
        AnsiText::writeBytes(underFile, "x");
        FAIL() << "write under a regular file succeeded";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.message(), underFile + QStringLiteral(" に書き込めません"));
    }
    EXPECT_THROW(AnsiText::writeBytes(dir.path(), "x"), EInOutError);
    EXPECT_THROW(AnsiText::readBytes(dir.path()), EInOutError);
    EXPECT_THROW(AnsiText::readBytes(dir.file(QStringLiteral("missing"))), EInOutError);
    EXPECT_EQ(dir.read(QStringLiteral("plain")), QByteArray("keep"));
}

} // namespace

TEST(AnsiText, bothLineBreakFormsAgreeWithTheCrLfRule)
{
    const QString inputs[] = {
        QString(),
        QStringLiteral("no break"),
        QStringLiteral("a\r\nb"),
        QStringLiteral("a\rb\nc\r\n"),
        QStringLiteral("\r\r\n\n\r"),
        QStringLiteral("\n"),
        QStringLiteral("末尾\r"),
        QStringLiteral("x\n\r\ny\r\r"),
    };
    for (const QString& text : inputs) {
        QString crLf;
        QString lf;
        AnsiText::splitLineBreaks(text, &crLf, &lf);
        EXPECT_EQ(crLf, AnsiText::toCrLf(text)) << text.toStdString();
        QString expectedLf = AnsiText::toCrLf(text);
        expectedLf.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        EXPECT_EQ(lf, expectedLf) << text.toStdString();
    }
}

namespace {

// What encodeWithCrLfTaking() stands in for.
QByteArray encodedWithCrLf(QString text)
{
    return AnsiText::encode(text.replace(u'\n', QStringLiteral("\r\n")));
}

// The bytes from the chunked way, or nothing when it left the text to encode().
std::optional<QByteArray> takenWithCrLf(const QString& text, qsizetype chunk)
{
    QString taken = text;
    taken.detach(); // alone, as the journal's copy is
    std::optional<QByteArray> bytes = AnsiText::encodeWithCrLfTaking(taken, chunk);
    if (bytes)
        EXPECT_TRUE(taken.isEmpty());
    else
        EXPECT_EQ(taken, text) << "a refused text must be left whole for encode()";
    return bytes;
}

constexpr qsizetype kChunks[] = {1, 2, 3, 5, 7, 4096, qsizetype(1) << 20};

} // namespace

TEST(AnsiTextTaking, plainCodePageTextGivesTheBytesOfEncodeAtEveryChunkSize)
{
    const QString texts[] = {
        QString(),
        QStringLiteral("\n"),
        QStringLiteral("\n\n\n"),
        QStringLiteral("一行目\n\n三行目"),         // an empty line between, the last without break
        QStringLiteral("\n前に空行\n"),             // a break at each end
        QStringLiteral("CR だけ\rCR LF\r\n終わり"), // CR stays; CR LF becomes CR CR LF
        QStringLiteral("typed \u301C\u2016\u2212\u00A2\u00A3\u00AC\u2014\u00A6 forms"),
        QStringLiteral("ｱｲｳｴｵ ﾃｽﾄ\nhalf-width"),
        QStringLiteral("ascii only: valid UTF-8, but no wide character\n"),
        QString(QChar(0x1A)) + QChar(0x1C) + QChar(0x7F) + QStringLiteral("\n制御"),
        QStringLiteral("3日(土) ★会議～\n資料を確認して、会議の準備をする (No.12)\n"),
    };
    for (const QString& text : texts) {
        const QByteArray expected = encodedWithCrLf(text);
        ASSERT_FALSE(expected.startsWith("\xEF\xBB\xBF")) << "plain code page text: " << text.toStdString();
        for (const qsizetype chunk : kChunks) {
            const std::optional<QByteArray> got = takenWithCrLf(text, chunk);
            ASSERT_TRUE(got.has_value()) << text.toStdString() << " chunk " << chunk;
            EXPECT_EQ(*got, expected) << text.toStdString() << " chunk " << chunk;
        }
    }
}

TEST(AnsiTextTaking, textThatEncodeWritesOtherwiseIsLeftWhole)
{
    const QString mojibake = QStringLiteral("縺薙ｓ縺ｫ縺｡縺ｯ"); // its bytes spell UTF-8
    const QString texts[] = {
        QStringLiteral("NBSP\u00A0は\n書いたまま"),
        QStringLiteral("行区切り\u2028と段落区切り\u2029"),
        QStringLiteral("非文字\uFDD0\uFDD1"),
        QStringLiteral("caf\u00e9\n"),
        QStringLiteral("絵文字 😀 の前後\n😀"),
        QStringLiteral("末尾が絵文字😀"),
        mojibake,
        QStringLiteral("a\n") + mojibake + QStringLiteral("\n"),
        QString(QChar(char16_t(0xF7FF))) + QChar(char16_t(0xF7FE)) + QStringLiteral("kept bytes"),
        QStringLiteral("一") + QChar(char16_t(0xF780)) + QStringLiteral("二"),
    };
    for (const QString& text : texts)
        for (const qsizetype chunk : kChunks)
            EXPECT_FALSE(takenWithCrLf(text, chunk).has_value()) << text.toStdString() << " chunk " << chunk;
}

TEST(AnsiTextTaking, bytesThatReadAsUtf8AreFoundAcrossEveryPieceOfTheCheck)
{
    // ASCII before the mojibake moves its three-byte sequences over the check's piece ends.
    const QString mojibake = QStringLiteral("縺薙ｓ縺ｫ縺｡縺ｯ");
    for (qsizetype pad = 4080; pad <= 4100; ++pad) {
        const QString text = QString(pad, u'a') + mojibake + QStringLiteral("\nend");
        ASSERT_TRUE(encodedWithCrLf(text).startsWith("\xEF\xBB\xBF")) << pad;
        EXPECT_FALSE(takenWithCrLf(text, qsizetype(1) << 20).has_value()) << pad;
        // A byte later that no UTF-8 has keeps the bytes code page 932.
        const QString broken = text + QStringLiteral("ｱ");
        const std::optional<QByteArray> got = takenWithCrLf(broken, 1000);
        ASSERT_TRUE(got.has_value()) << pad;
        EXPECT_EQ(*got, encodedWithCrLf(broken)) << pad;
    }
}

TEST(AnsiTextTaking, randomTextsAgreeWithEncode)
{
    // Pieces that each matter to the rule: breaks, typed forms, katakana that may form UTF-8,
    // mojibake, kept bytes and characters the code page lacks.
    const QString pieces[] = {
        QStringLiteral("\n"),   QStringLiteral("\r"),     QStringLiteral("a"),
        QStringLiteral("予定"), QStringLiteral("ｱ"),      QStringLiteral("\u301C"),
        QStringLiteral("縺"),   QStringLiteral("ｯ"),      QStringLiteral("é"),
        QStringLiteral("😀"),    QStringLiteral("\u00A0"), QString(QChar(char16_t(0xF781))),
        QStringLiteral("\x7F"),
    };
    std::mt19937 random(932);
    int plain = 0;
    for (int round = 0; round < 3000; ++round) {
        QString text;
        const int length = int(random() % 12);
        // Mostly code page characters, so that many texts take the chunked way.
        const size_t choices = round % 3 == 0 ? std::size(pieces) : 9;
        for (int i = 0; i < length; ++i)
            text += pieces[random() % choices];
        const qsizetype chunk = qsizetype(random() % 6) + 1;
        const QByteArray expected = encodedWithCrLf(text);
        if (const std::optional<QByteArray> got = takenWithCrLf(text, chunk)) {
            ++plain;
            EXPECT_EQ(*got, expected) << text.toStdString() << " chunk " << chunk;
        }
    }
    EXPECT_GT(plain, 1000);
}
