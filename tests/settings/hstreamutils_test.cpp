#include "settings/ComponentImages.h"
#include "settings/HStreamUtils.h"
#include "settings/RegMng.h"

#include "platform/Failure.h"
#include "platform/ProfileFile.h"
#include "platform/UserRegistry.h"

#include "support/RecordingMessageService.h"
#include "support/TempFolder.h"

#include <QBuffer>
#include <QFile>
#include <QWidget>

#include <gtest/gtest.h>

using namespace HStreamUtils;

namespace {

const QString kSection = QStringLiteral("Stream");
const QString kIdent = QStringLiteral("img");
const QString kRegDir = QStringLiteral("Software\\Quav\\QuavScheduler");

QByteArray bytesUpTo(int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes.append(static_cast<char>((i * 37 + 5) & 0xFF));
    return bytes;
}

// A memory stream holding the bytes, at the position given.
struct Stream {
    QByteArray data;
    QBuffer buffer{&data};
    explicit Stream(const QByteArray& bytes = {}, qint64 pos = 0) : data(bytes)
    {
        buffer.open(QIODevice::ReadWrite);
        buffer.seek(pos);
    }
};

QStringList hexLines(const QByteArray& bytes, qint64 pos = 0)
{
    Stream s(bytes, pos);
    QStringList lines{QStringLiteral("stale")};
    StreamToHexLines(s.buffer, lines);
    return lines;
}

QByteArray fromLines(const QStringList& lines)
{
    Stream s;
    HexLinesToStream(lines, s.buffer);
    return s.data;
}

} // namespace

TEST(HexLines, bytesBecomeUpperCaseLinesOf64Digits)
{
    const QStringList lines = hexLines(bytesUpTo(70));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0].size(), 64);
    EXPECT_EQ(lines[1].size(), 64);
    EXPECT_EQ(lines[2].size(), 12);
    EXPECT_EQ(hexLines(QByteArray("\xAB\x0F\x00\xff", 4)), QStringList{QStringLiteral("AB0F00FF")});
    EXPECT_EQ(hexLines(bytesUpTo(32)).size(), 1);
    EXPECT_EQ(hexLines(bytesUpTo(33)).size(), 2);
    EXPECT_TRUE(hexLines({}).isEmpty());
    // Only the bytes from the position on.
    EXPECT_EQ(hexLines(QByteArray("\x01\x02\x03", 3), 2), QStringList{QStringLiteral("03")});
}

TEST(HexLines, parsingIsForgivingPairByPair)
{
    struct Case {
        QStringList lines;
        QByteArray bytes;
    } const cases[] = {
        {{QStringLiteral("0AFF")}, QByteArray("\x0A\xFF", 2)},
        {{QStringLiteral("0aff")}, QByteArray("\x0A\xFF", 2)},
        {{QStringLiteral("10F")}, QByteArray("\x10\x0F", 2)},        // a lone last digit keeps its value
        {{QStringLiteral("ZZ10")}, QByteArray("\x00\x10", 2)},       // a pair that is not hex is a zero
        {{QStringLiteral("$1-1 1")}, QByteArray("\x00\x00\x00", 3)}, // no sign, no blanks, no prefix
        {{QStringLiteral("01"), QString(), QStringLiteral("02")}, QByteArray("\x01\x02", 2)},
        {{QStringLiteral("ＦＦ")}, QByteArray("\x00", 1)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fromLines(c.lines), c.bytes) << c.lines.join(u'|').toStdString();
    EXPECT_EQ(fromLines(hexLines(bytesUpTo(300))), bytesUpTo(300));
}

TEST(HexLines, bytesAreWrittenAtThePosition)
{
    Stream s(QByteArray("abcd"), 1);
    HexLinesToStream({QStringLiteral("5859")}, s.buffer);
    EXPECT_EQ(s.data, QByteArray("aXYd"));
    EXPECT_EQ(s.buffer.pos(), 3);
}

class IniStream : public ::testing::Test {
protected:
    TempFolder dir;
    QString ini = dir.file(QStringLiteral("QuavScheduler.ini"));

    std::optional<QString> stored(const QString& key) const
    {
        const QString missing = QStringLiteral("\x01missing");
        const QString value = ProfileFile::get(ini, kSection, key, missing);
        return value == missing ? std::nullopt : std::optional<QString>(value);
    }
    void write(const QByteArray& bytes)
    {
        Stream s(bytes);
        WriteStreamToIni(s.buffer, ini, kSection, kIdent);
    }
    QByteArray read(const QByteArray& start = {}, qint64 pos = 0)
    {
        Stream s(start, pos);
        ReadStreamFromIni(s.buffer, ini, kSection, kIdent);
        return s.data;
    }
};

TEST_F(IniStream, seventyBytesAreThreeCountedLines)
{
    write(bytesUpTo(70));
    EXPECT_EQ(stored(QStringLiteral("img_c")), QStringLiteral("3"));
    EXPECT_EQ(stored(QStringLiteral("img_d0"))->size(), 64);
    EXPECT_EQ(stored(QStringLiteral("img_d1"))->size(), 64);
    EXPECT_EQ(stored(QStringLiteral("img_d2"))->size(), 12);
    EXPECT_FALSE(stored(QStringLiteral("img_d3")));
    EXPECT_EQ(read(), bytesUpTo(70));
}

TEST_F(IniStream, shorterStreamsLeaveNoStaleLines)
{
    write(bytesUpTo(70));
    write(bytesUpTo(10));
    EXPECT_EQ(stored(QStringLiteral("img_c")), QStringLiteral("1"));
    EXPECT_FALSE(stored(QStringLiteral("img_d1")));
    EXPECT_FALSE(stored(QStringLiteral("img_d2")));
    EXPECT_EQ(read(), bytesUpTo(10));

    write(bytesUpTo(70));
    write({});
    for (const char* key : {"img_c", "img_d0", "img_d1", "img_d2"})
        EXPECT_FALSE(stored(QString::fromLatin1(key))) << key;
}

TEST_F(IniStream, writingTakesTheBytesFromThePosition)
{
    Stream s(QByteArray("skipKEEP"), 4);
    WriteStreamToIni(s.buffer, ini, kSection, kIdent);
    EXPECT_EQ(read(), QByteArray("KEEP"));
}

TEST_F(IniStream, readingAddsAtThePositionAndLeavesAnEmptyStoreAlone)
{
    EXPECT_EQ(read(QByteArray("xy"), 1), QByteArray("xy"));
    EXPECT_FALSE(QFile::exists(ini));
    write(QByteArray("AB"));
    EXPECT_EQ(read(QByteArray("xyz"), 1), QByteArray("xAB"));
    EXPECT_EQ(read(QByteArray("x"), 1), QByteArray("xAB"));
}

TEST_F(IniStream, damagedKeysReadWhatIsThere)
{
    ProfileFile::put(ini, kSection, QStringLiteral("img_c"), QStringLiteral("3"));
    ProfileFile::put(ini, kSection, QStringLiteral("img_d0"), QStringLiteral("41"));
    ProfileFile::put(ini, kSection, QStringLiteral("img_d2"), QStringLiteral("43F"));
    EXPECT_EQ(read(), QByteArray("AC\x0F"));

    // A count no store could hold ends at the cap instead of stalling.
    ProfileFile::put(ini, kSection, QStringLiteral("img_c"), QStringLiteral("2000000000"));
    EXPECT_EQ(read(), QByteArray("AC\x0F"));
    for (const QString& count : {QStringLiteral("-1"), QStringLiteral("x"), QStringLiteral("0")}) {
        ProfileFile::put(ini, kSection, QStringLiteral("img_c"), count);
        EXPECT_EQ(read(QByteArray("keep")), QByteArray("keep"));
    }
}

TEST_F(IniStream, aRefusedWriteIsReported)
{
    dir.write(QStringLiteral("file"), "x");
    const QString bad = dir.file(QStringLiteral("file/QuavScheduler.ini"));
    Stream s(QByteArray("A"));
    try {
        WriteStreamToIni(s.buffer, bad, kSection, kIdent);
        FAIL() << "no error";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.message(), bad + QStringLiteral(" に書き込めません"));
    }
}

class RegistryStream : public ::testing::Test {
protected:
    TempFolder dir;
    UserRegistry registry{dir.file(QStringLiteral("UserRegistry.json"))};

    bool subKeyExists() const { return registry.openKey(kRegDir).openSubKey(kSection).has_value(); }
    UserRegistry::ValueInfo info() const
    {
        std::optional<UserRegistry::Key> sub = registry.openKey(kRegDir).openSubKey(kSection);
        return sub ? sub->valueInfo(kIdent) : UserRegistry::ValueInfo{};
    }
};

TEST_F(RegistryStream, bytesRoundTripAsOneBinaryValue)
{
    Stream out(bytesUpTo(100));
    WriteStreamToRegistry(out.buffer, registry, kRegDir, kSection, kIdent);
    EXPECT_EQ(info().type, UserRegistry::ValueType::Binary);
    EXPECT_EQ(info().size, 100);
    Stream in(QByteArray("<>"), 1);
    ReadStreamFromRegistry(in.buffer, registry, kRegDir, kSection, kIdent);
    EXPECT_EQ(in.data, QByteArray("<") + bytesUpTo(100));

    // Like the INI kind, the bytes from the position on rather than a read error.
    Stream rest(bytesUpTo(100), 30);
    WriteStreamToRegistry(rest.buffer, registry, kRegDir, kSection, kIdent);
    EXPECT_EQ(info().size, 70);
}

TEST_F(RegistryStream, anEmptyStreamIsAValueOfLengthZero)
{
    Stream out(bytesUpTo(5));
    WriteStreamToRegistry(out.buffer, registry, kRegDir, kSection, kIdent);
    Stream empty;
    WriteStreamToRegistry(empty.buffer, registry, kRegDir, kSection, kIdent);
    EXPECT_EQ(info().type, UserRegistry::ValueType::Binary);
    EXPECT_EQ(info().size, 0);
    Stream in(QByteArray("keep"), 2);
    ReadStreamFromRegistry(in.buffer, registry, kRegDir, kSection, kIdent);
    EXPECT_EQ(in.data, QByteArray("keep"));
}

TEST_F(RegistryStream, readingNothingCreatesTheSubKeyOnly)
{
    Stream in(QByteArray("keep"));
    ReadStreamFromRegistry(in.buffer, registry, kRegDir, kSection, kIdent);
    EXPECT_EQ(in.data, QByteArray("keep"));
    EXPECT_TRUE(subKeyExists());
    EXPECT_FALSE(info().exists());
}

TEST_F(RegistryStream, stringAndIntegerValuesAreTypeErrors)
{
    QFile fixture(QStringLiteral(QUAV_TEST_DATA "/settings/userregistry_integer.json"));
    ASSERT_TRUE(fixture.open(QIODevice::ReadOnly));
    dir.write(QStringLiteral("int.json"), fixture.readAll());
    const UserRegistry withInteger(dir.file(QStringLiteral("int.json")));
    {
        UserRegistry::Key key = registry.openKey(kRegDir);
        UserRegistry::Key sub = key.createSubKey(kSection);
        sub.writeString(kIdent, QStringLiteral("41"));
        sub.close();
    }
    struct Case {
        const UserRegistry& store;
        QString dir, section, ident;
    } const cases[] = {
        {registry, kRegDir, kSection, kIdent},
        {withInteger, QStringLiteral("Software\\Quav"), QStringLiteral("MemoFont"),
         QStringLiteral("prop_FontSize")},
    };
    for (const Case& c : cases) {
        Stream in(QByteArray("keep"));
        try {
            ReadStreamFromRegistry(in.buffer, c.store, c.dir, c.section, c.ident);
            ADD_FAILURE() << "no error for " << c.ident.toStdString();
        } catch (const ERegistryError& e) {
            EXPECT_EQ(e.message(), QStringLiteral("'%1' のデータ型が不正です").arg(c.ident));
        }
        EXPECT_EQ(in.data, QByteArray("keep"));
    }
}

// The filer's slots, through a manager as callers use it.
class FilerStreams : public ::testing::Test {
protected:
    TempFolder dir;
    RecordingMessageService messages;
    TRegManager manager{messages};

    FilerStreams()
    {
        TRegItem* item = manager.RegItems().Add();
        item->SetName(QStringLiteral("Image"));
        item->SetSection(kSection);
        item->SetIdent(kIdent);
        manager.SetIniFileName(dir.file(QStringLiteral("QuavScheduler.ini")));
        manager.SetRegDir(kRegDir);
        manager.SetRegistry(UserRegistry(dir.file(QStringLiteral("UserRegistry.json"))));
    }

    QByteArray roundTrip(TRegType type, const QByteArray& bytes)
    {
        manager.SetRegType(type);
        Stream out(bytes);
        manager.GetFiler(QStringLiteral("Image")).WriteStream(&out.buffer);
        Stream in(QByteArray("#"), 1);
        manager.GetFiler(QStringLiteral("image")).ReadStream(&in.buffer);
        return in.data;
    }
};

TEST_F(FilerStreams, eachStoreKeepsTheBytes)
{
    EXPECT_EQ(roundTrip(TRegType::rtIni, bytesUpTo(40)), QByteArray("#") + bytesUpTo(40));
    EXPECT_EQ(roundTrip(TRegType::rtReg, bytesUpTo(41)), QByteArray("#") + bytesUpTo(41));
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(FilerStreams, nothingHappensWithoutAStreamOrItem)
{
    manager.SetRegType(TRegType::rtIni);
    TRegFiler& filer = manager.GetFiler(QStringLiteral("Image"));
    filer.WriteStream(nullptr);
    filer.ReadStream(nullptr);
    EXPECT_EQ(filer.ReadComponent(nullptr), nullptr);
    filer.WriteComponent(nullptr);

    TRegFiler& none = manager.GetFiler(QStringLiteral("Nothing"));
    Stream out(QByteArray("A"));
    none.WriteStream(&out.buffer);
    EXPECT_FALSE(dir.exists(QStringLiteral("QuavScheduler.ini")));

    // Streams name no store of their own: without one they refuse quietly.
    manager.SetIniFileName(QString());
    manager.GetFiler(QStringLiteral("Image")).WriteStream(&out.buffer);
    manager.SetRegType(TRegType::rtReg);
    manager.SetRegDir(QString());
    manager.GetFiler(QStringLiteral("Image")).WriteStream(&out.buffer);
    EXPECT_EQ(out.buffer.pos(), 0);
    EXPECT_EQ(messages.count(QStringLiteral("can not create Inifile object.")), 0);
    EXPECT_FALSE(dir.exists(QStringLiteral("UserRegistry.json")));
    manager.SetIniFileName(dir.file(QStringLiteral("QuavScheduler.ini")));
    manager.SetRegType(TRegType::rtIni);

    manager.RegItems().GetItem(0)->SetSection(QString());
    manager.GetFiler(QStringLiteral("Image")).WriteStream(&out.buffer);
    EXPECT_FALSE(dir.exists(QStringLiteral("QuavScheduler.ini")));
}

TEST_F(FilerStreams, componentsNeedTheWidgetSide)
{
    manager.SetRegType(TRegType::rtIni);
    QWidget host;
    auto* panel = new QWidget(&host);
    EXPECT_THROW(manager.GetFiler(QStringLiteral("Image")).WriteComponent(panel), EFilerError);
    EXPECT_EQ(manager.GetFiler(QStringLiteral("Image")).ReadComponent(panel), nullptr);
}
