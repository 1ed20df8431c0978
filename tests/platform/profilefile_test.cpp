#include "platform/ProfileFile.h"

#include "platform/Failure.h"
#include "support/TestData.h"
#include "support/TempFolder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <climits>
#include <functional>

namespace {

using namespace Qt::StringLiterals;

// The exact failure a refused write must raise.
void expectCannotWrite(const std::function<void()>& write, const QString& path)
{
    try {
        write();
        ADD_FAILURE() << "no failure for " << path.toStdString();
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.message(), path + u" に書き込めません"_s);
    }
}

TEST(ProfileFileRead, fileWrittenByWindowsReadsBack)
{
    TempFolder dir;
    dir.write(u"QuavScheduler.ini"_s, fixture("windows.ini"));
    const QString ini = dir.file(u"QuavScheduler.ini"_s);
    struct {
        QString section, key, expected;
    } const cases[] = {
        {u"Pos"_s, u"Width"_s, u"640"_s},
        {u"pos"_s, u"activepage"_s, u"2"_s},
        {u"Cal"_s, u"MarkupStr0"_s, u"★"_s},
        {u"Cal"_s, u"MarkupStr9"_s, u"▽"_s},
        {u"Memo"_s, u"Editor1"_s, u"C:\\WINDOWS\\notepad.exe"_s},
        {u"Data"_s, u"Folder"_s, u"C:\\Program Files\\QuavScheduler\\予定表\\"_s},
        {u"MemoFont"_s, u"prop_FontName"_s, u"ＭＳ ゴシック"_s},
        {u"SchItem"_s, u"item_Item1"_s, u"ゾーン"_s},
        {u"M3Pos"_s, u"Width"_s, u"800"_s},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProfileFile::get(ini, c.section, c.key, u"def"_s), c.expected) << c.key.toStdString();
    EXPECT_EQ(ProfileFile::get(ini, u"Pos"_s, u"Missing"_s, u"def"_s), u"def"_s);
    EXPECT_EQ(ProfileFile::getInt(ini, u"Cal"_s, u"SatColor"_s, 0), 16636124);
    EXPECT_TRUE(ProfileFile::getBool(ini, u"Memo"_s, u"FontStyleBold"_s, false));
    EXPECT_FALSE(ProfileFile::getBool(ini, u"Memo"_s, u"FontStyleItalic"_s, true));
}

TEST(ProfileFileRead, missingOrUnreadableFileGivesDefaults)
{
    TempFolder dir;
    QDir(dir.path()).mkdir(u"folder.ini"_s);
    for (const QString& path : {dir.file(u"none.ini"_s), dir.file(u"folder.ini"_s)}) {
        EXPECT_EQ(ProfileFile::get(path, u"A"_s, u"k"_s, u"d"_s), u"d"_s);
        EXPECT_EQ(ProfileFile::getInt(path, u"A"_s, u"k"_s, 617), 617);
        EXPECT_TRUE(ProfileFile::getBool(path, u"A"_s, u"k"_s, true));
    }
    EXPECT_FALSE(dir.exists(u"none.ini"_s));
}

TEST(ProfileFileWrite, changeOfOneValueKeepsEveryOtherByte)
{
    TempFolder dir;
    const QByteArray original = fixture("windows.ini");
    dir.write(u"a.ini"_s, original);
    ProfileFile::put(dir.file(u"a.ini"_s), u"cal"_s, u"markupstr3"_s, u"◎"_s);
    QByteArray expected = original;
    expected.replace("MarkupStr3=\x81\x9b", "MarkupStr3=\x81\x9d");
    ASSERT_NE(expected, original);
    EXPECT_EQ(dir.read(u"a.ini"_s), expected);
}

TEST(ProfileFileWrite, handEditedFileKeepsItsLinesAndGetsCrLf)
{
    TempFolder dir;
    const QByteArray original = fixture("handmade.ini");
    dir.write(u"h.ini"_s, original);
    const QString ini = dir.file(u"h.ini"_s);

    EXPECT_EQ(ProfileFile::get(ini, u"Pos"_s, u"Top"_s, {}), u"15"_s);
    EXPECT_EQ(ProfileFile::get(ini, u"Pos"_s, u"Left"_s, {}), u"30"_s);
    EXPECT_EQ(ProfileFile::get(ini, u"Pos"_s, u"Width"_s, u"none"_s), u"none"_s); // second [POS]
    EXPECT_EQ(ProfileFile::get(ini, u"Memo"_s, u"Editor1"_s, {}), u"  /usr/bin/mousepad  "_s);
    EXPECT_EQ(ProfileFile::get(ini, u"Memo"_s, u"Quoted"_s, u"d"_s), QString());
    EXPECT_EQ(ProfileFile::get(ini, u"ゾーン"_s, u"予定"_s, {}), u"表示"_s);

    ProfileFile::putInt(ini, u"POS"_s, u"top"_s, -3);
    ProfileFile::put(ini, u"Pos"_s, u"Height"_s, u"400"_s);
    QByteArray expected = original;
    expected.replace("\n", "\r\n");
    expected.replace("TOP = 15", "TOP = -3");
    expected.replace("Top=99\r\n", "Top=99\r\nHeight=400\r\n");
    expected.append("\r\n");
    EXPECT_EQ(dir.read(u"h.ini"_s), expected);
}

TEST(ProfileFileWrite, newFileGetsSectionsInWriteOrder)
{
    TempFolder dir;
    const QString ini = dir.file(u"new.ini"_s);
    ProfileFile::putInt(ini, u"Pos"_s, u"Top"_s, 10);
    ProfileFile::put(ini, u"Cal"_s, u"MarkupStr0"_s, u"★"_s);
    ProfileFile::putBool(ini, u"Memo"_s, u"FontStyleBold"_s, true);
    ProfileFile::putBool(ini, u"Memo"_s, u"FontStyleItalic"_s, false);
    ProfileFile::putInt(ini, u"Pos"_s, u"ActivePage"_s, 4);
    EXPECT_EQ(dir.read(u"new.ini"_s), QByteArray("[Pos]\r\nTop=10\r\nActivePage=4\r\n"
                                                 "[Cal]\r\nMarkupStr0=\x81\x9a\r\n"
                                                 "[Memo]\r\nFontStyleBold=1\r\nFontStyleItalic=0\r\n"));
}

TEST(ProfileFileWrite, shiftJisNamesAndValuesRoundTrip)
{
    TempFolder dir;
    const QString ini = dir.file(u"sjis.ini"_s);
    // Trail bytes 5C, 5D and 5B inside names and values.
    const QString value = u"表示 ソ能予 ゾーン ＼"_s;
    ProfileFile::put(ini, u"ゾーン"_s, u"予定表"_s, value);
    EXPECT_EQ(ProfileFile::get(ini, u"ゾーン"_s, u"予定表"_s, {}), value);
    const QByteArray bytes = dir.read(u"sjis.ini"_s);
    EXPECT_TRUE(bytes.startsWith("[\x83\x5d\x81\x5b\x83\x93]\r\n\x97\x5c\x92\xe8\x95\x5c="));
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));
}

TEST(ProfileFileWrite, namesThatWouldCorruptTheFileAreRefused)
{
    TempFolder dir;
    dir.write(u"n.ini"_s, "[A]\r\nk=1\r\n");
    const QString ini = dir.file(u"n.ini"_s);
    const std::pair<QString, QString> names[] = {
        {u"A"_s, u"k=x"_s}, {u"A"_s, u"k\r\nj"_s}, {u"A"_s, u"[B]"_s},  {u"A"_s, QString()},
        {u"A]x"_s, u"k"_s}, {u"A\nB"_s, u"k"_s},   {QString(), u"k"_s},
    };
    for (const auto& [section, key] : names) {
        expectCannotWrite([&] { ProfileFile::put(ini, section, key, u"v"_s); }, ini);
        EXPECT_EQ(dir.read(u"n.ini"_s), QByteArray("[A]\r\nk=1\r\n"));
    }
}

TEST(ProfileFileWrite, refusedWriteRaisesAndKeepsTheOldFile)
{
    TempFolder dir;
    dir.write(u"plain"_s, "not a folder");
    QDir(dir.path()).mkpath(u"folder.ini/inside"_s);
    const QString underFile = dir.file(u"plain/x.ini"_s);
    const QString folder = dir.file(u"folder.ini"_s);
    // No room for the temporary file beside a name of the longest length.
    const QString longName = QString(250, u'a') + u".ini"_s;
    dir.write(longName, "[A]\r\nk=1\r\n");
    const QString tight = dir.file(longName);

    for (const QString& path : {underFile, folder, tight}) {
        expectCannotWrite([&] { ProfileFile::put(path, u"A"_s, u"k"_s, u"2"_s); }, path);
        expectCannotWrite([&] { ProfileFile::putInt(path, u"A"_s, u"n"_s, 2); }, path);
        ProfileBatch batch(path);
        batch.putBool(u"A"_s, u"b"_s, true);
        expectCannotWrite([&] { batch.commit(); }, path);
    }
    expectCannotWrite([&] { ProfileFile::remove(folder, u"A"_s, u"k"_s); }, folder);
    EXPECT_EQ(dir.read(longName), QByteArray("[A]\r\nk=1\r\n"));
    EXPECT_TRUE(QDir(dir.file(u"folder.ini/inside"_s)).exists());
    EXPECT_EQ(dir.read(u"plain"_s), QByteArray("not a folder"));
}

TEST(ProfileFileRemove, deletesTheKeyAndWritesNothingWhenItIsMissing)
{
    TempFolder dir;
    const QByteArray lf("[A]\nk=1\nj=2\n");
    dir.write(u"r.ini"_s, lf);
    const QString ini = dir.file(u"r.ini"_s);

    ProfileFile::remove(ini, u"A"_s, u"missing"_s);
    ProfileFile::remove(ini, u"B"_s, u"k"_s);
    EXPECT_EQ(dir.read(u"r.ini"_s), lf); // not even rewritten with CR LF

    ProfileFile::remove(ini, u"a"_s, u"K"_s);
    EXPECT_EQ(dir.read(u"r.ini"_s), QByteArray("[A]\r\nj=2\r\n"));
    EXPECT_EQ(ProfileFile::get(ini, u"A"_s, u"k"_s, u"gone"_s), u"gone"_s);

    ProfileFile::remove(dir.file(u"none.ini"_s), u"A"_s, u"k"_s);
    EXPECT_FALSE(dir.exists(u"none.ini"_s));
}

TEST(ProfileFileWrite, sameValueDoesNotRewrite)
{
    TempFolder dir;
    dir.write(u"s.ini"_s, "[A]\nk = 1 \t\nj=\"x\"\n");
    ProfileFile::putInt(dir.file(u"s.ini"_s), u"A"_s, u"K"_s, 1);
    ProfileFile::put(dir.file(u"s.ini"_s), u"A"_s, u"j"_s, u"x"_s);
    EXPECT_EQ(dir.read(u"s.ini"_s), QByteArray("[A]\nk = 1 \t\nj=\"x\"\n"));
}

TEST(ProfileFileRead, nulEndsOnlyTheValueOfItsLine)
{
    TempFolder dir;
    const char raw[] = "[A]\r\nk=1\0junk\r\n[B]\r\nk=2\r\n";
    const QByteArray bytes(raw, sizeof raw - 1);
    dir.write(u"z.ini"_s, bytes);
    const QString path = dir.file(u"z.ini"_s);
    EXPECT_EQ(ProfileFile::get(path, u"A"_s, u"k"_s, {}), u"1"_s);
    EXPECT_EQ(ProfileFile::get(path, u"B"_s, u"k"_s, u"d"_s), u"2"_s);
    // A write elsewhere keeps every line, the one with the NUL included.
    ProfileFile::put(path, u"B"_s, u"j"_s, u"3"_s);
    const QByteArray withJ = bytes + "j=3\r\n";
    EXPECT_EQ(dir.read(u"z.ini"_s), withJ);
    ProfileFile::put(path, u"A"_s, u"k"_s, u"1"_s);
    EXPECT_EQ(dir.read(u"z.ini"_s), withJ);
}

TEST(ProfileFileRead, unicodeFileOfAWindowsEditorIsReadAndKeepsItsEncoding)
{
    const QString text = u"[Data]\r\nFolder=C:\\データ\\\r\n[Pos]\r\nTop=5\r\n"_s;
    struct {
        const char* name;
        QByteArray bytes;
        bool bigEndian;
    } cases[] = {
        {"little",
         QByteArray("\xFF\xFE") + QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2),
         false},
        {"big", QByteArray("\xFE\xFF"), true},
    };
    for (QChar c : text) {
        cases[1].bytes.append(char(c.unicode() >> 8));
        cases[1].bytes.append(char(c.unicode() & 0xFF));
    }
    for (const auto& c : cases) {
        TempFolder dir;
        dir.write(u"u.ini"_s, c.bytes);
        const QString path = dir.file(u"u.ini"_s);
        EXPECT_EQ(ProfileFile::get(path, u"Data"_s, u"Folder"_s, {}), u"C:\\データ\\"_s) << c.name;
        EXPECT_EQ(ProfileFile::getInt(path, u"Pos"_s, u"Top"_s, 0), 5) << c.name;
        ProfileFile::putInt(path, u"Pos"_s, u"Top"_s, 7);
        const QByteArray written = dir.read(u"u.ini"_s);
        QByteArray expected = c.bytes;
        expected[expected.size() - (c.bigEndian ? 5 : 6)] = '7';
        EXPECT_EQ(written, expected) << c.name;
    }
}

TEST(ProfileFileRead, defaultComesBackWithoutTrailingBlanks)
{
    TempFolder dir;
    dir.write(u"d.ini"_s, "[A]\r\nk=1\r\n");
    EXPECT_EQ(ProfileFile::get(dir.file(u"d.ini"_s), u"A"_s, u"missing"_s, u"def  "_s), u"def"_s);
    EXPECT_EQ(ProfileFile::get(dir.file(u"none.ini"_s), u"A"_s, u"k"_s, u" x\t"_s), u" x"_s);
}

TEST(ProfileFileInt, parsesDecimalAndHexOnly)
{
    struct {
        QString text;
        bool ok;
        int value;
    } const cases[] = {
        {u"0"_s, true, 0},
        {u"617"_s, true, 617},
        {u"-5"_s, true, -5},
        {u"+5"_s, true, 5},
        {u" \t42 "_s, true, 42},
        {u"00000000000000000012"_s, true, 12},
        {u"2147483647"_s, true, INT_MAX},
        {u"-2147483648"_s, true, INT_MIN},
        {u"2147483648"_s, false, 0},
        {u"-2147483649"_s, false, 0},
        {u"99999999999999999999"_s, false, 0},
        {u"$1F"_s, true, 31},
        {u"$1f"_s, true, 31},
        {u"0x1f"_s, true, 31},
        {u"0X1F"_s, true, 31},
        {u"$000000001F"_s, true, 31},
        {u"$7FFFFFFF"_s, true, INT_MAX},
        {u"$80000000"_s, true, INT_MIN},
        {u"$FFFFFFFF"_s, true, -1},
        {u"0x80000008"_s, true, int(0x80000008u)},
        {u"$100000000"_s, false, 0},
        {u"$"_s, false, 0},
        {u"0x"_s, false, 0},
        {u"-$1"_s, false, 0},
        {u"$-1"_s, false, 0},
        {u"$1G"_s, false, 0},
        {u""_s, false, 0},
        {u"-"_s, false, 0},
        {u"abc"_s, false, 0},
        {u"12abc"_s, false, 0},
        {u"1 2"_s, false, 0},
        {u"1.0"_s, false, 0},
        {u"１２"_s, false, 0},
        {u"٣"_s, false, 0},
        {u"TRUE"_s, false, 0},
    };
    for (const auto& c : cases) {
        int value = 12345;
        EXPECT_EQ(ProfileFile::parseInt(c.text, &value), c.ok) << c.text.toStdString();
        EXPECT_EQ(value, c.ok ? c.value : 12345) << c.text.toStdString();
    }
}

TEST(ProfileFileInt, storedTextDecidesIntegersAndBooleans)
{
    TempFolder dir;
    dir.write(u"b.ini"_s, "[Pos]\r\nWidth=abc\r\nTop=\"-20\"\r\nHex=0x10\r\n"
                          "[Memo]\r\nTwo=2\r\nZero=0\r\nBig=256\r\nWord=TRUE\r\nEmpty=\r\n");
    const QString ini = dir.file(u"b.ini"_s);
    EXPECT_EQ(ProfileFile::getInt(ini, u"Pos"_s, u"Width"_s, 617), 617);
    EXPECT_EQ(ProfileFile::getInt(ini, u"Pos"_s, u"Top"_s, 0), -20);
    EXPECT_EQ(ProfileFile::getInt(ini, u"Pos"_s, u"Hex"_s, 0), 16);
    EXPECT_TRUE(ProfileFile::getBool(ini, u"Memo"_s, u"Two"_s, false));
    EXPECT_FALSE(ProfileFile::getBool(ini, u"Memo"_s, u"Zero"_s, true));
    EXPECT_TRUE(ProfileFile::getBool(ini, u"Memo"_s, u"Big"_s, false));
    for (bool def : {false, true}) {
        EXPECT_EQ(ProfileFile::getBool(ini, u"Memo"_s, u"Word"_s, def), def);
        EXPECT_EQ(ProfileFile::getBool(ini, u"Memo"_s, u"Empty"_s, def), def);
        EXPECT_EQ(ProfileFile::getBool(ini, u"Memo"_s, u"Missing"_s, def), def);
    }
    ProfileFile::putInt(ini, u"Pos"_s, u"Width"_s, INT_MIN);
    EXPECT_EQ(ProfileFile::get(ini, u"Pos"_s, u"Width"_s, {}), u"-2147483648"_s);
    EXPECT_EQ(ProfileFile::getInt(ini, u"Pos"_s, u"Width"_s, 0), INT_MIN);
}

// One script of changes, run once value by value and once through a batch.
void runScript(const std::function<void(const QString&, const QString&, const QString&)>& put,
               const std::function<void(const QString&, const QString&)>& remove)
{
    put(u"Pos"_s, u"Top"_s, u"-7"_s);
    put(u"pos"_s, u"NewKey"_s, u" padded "_s);
    put(u"Cal"_s, u"MarkupStr5"_s, u"♪"_s);
    remove(u"Cal"_s, u"MarkupColor5"_s);
    remove(u"Cal"_s, u"NoSuchKey"_s);
    put(u"Fresh"_s, u"A"_s, u"1"_s);
    put(u"Fresh"_s, u"B"_s, u"2"_s);
    put(u"Fresh"_s, u"A"_s, u"3"_s);
    remove(u"SchItem"_s, u"item_Item2"_s);
    put(u"M3Pos"_s, u"Width"_s, u"800"_s); // unchanged
}

TEST(ProfileFileBatch, endsWithTheSameFileAsValueByValueWrites)
{
    TempFolder dir;
    dir.write(u"single.ini"_s, fixture("windows.ini"));
    dir.write(u"batch.ini"_s, fixture("windows.ini"));
    const QString single = dir.file(u"single.ini"_s);
    runScript([&](auto& s, auto& k, auto& v) { ProfileFile::put(single, s, k, v); },
              [&](auto& s, auto& k) { ProfileFile::remove(single, s, k); });

    ProfileBatch batch(dir.file(u"batch.ini"_s));
    runScript([&](auto& s, auto& k, auto& v) { batch.put(s, k, v); },
              [&](auto& s, auto& k) { batch.remove(s, k); });
    EXPECT_EQ(dir.read(u"batch.ini"_s), fixture("windows.ini")); // nothing written before commit
    EXPECT_EQ(batch.get(u"Fresh"_s, u"A"_s, {}), u"3"_s);
    EXPECT_EQ(batch.get(u"POS"_s, u"newkey"_s, {}), u" padded "_s);
    EXPECT_EQ(batch.getInt(u"Pos"_s, u"Top"_s, 0), -7);
    EXPECT_EQ(batch.get(u"Cal"_s, u"MarkupColor5"_s, u"gone"_s), u"gone"_s);
    batch.commit();
    EXPECT_EQ(dir.read(u"batch.ini"_s), dir.read(u"single.ini"_s));
    EXPECT_EQ(ProfileFile::get(single, u"pos"_s, u"NEWKEY"_s, {}), u" padded "_s);
}

TEST(ProfileFileBatch, writesOnlyWhenSomethingChanged)
{
    TempFolder dir;
    const QString missing = dir.file(u"missing.ini"_s);
    {
        ProfileBatch batch(missing);
        EXPECT_EQ(batch.getInt(u"Pos"_s, u"Width"_s, 617), 617);
        batch.remove(u"Pos"_s, u"Width"_s);
        batch.commit();
    }
    EXPECT_FALSE(dir.exists(u"missing.ini"_s));

    dir.write(u"lf.ini"_s, "[Memo]\nFontStyleBold=1\n");
    ProfileBatch batch(dir.file(u"lf.ini"_s));
    batch.putBool(u"Memo"_s, u"FontStyleBold"_s, true);
    batch.commit();
    EXPECT_EQ(dir.read(u"lf.ini"_s), QByteArray("[Memo]\nFontStyleBold=1\n"));
    batch.putBool(u"Memo"_s, u"FontStyleBold"_s, false);
    batch.commit();
    EXPECT_EQ(dir.read(u"lf.ini"_s), QByteArray("[Memo]\r\nFontStyleBold=0\r\n"));
    EXPECT_FALSE(batch.getBool(u"Memo"_s, u"FontStyleBold"_s, true));
}

TEST(ProfileFileBatch, unreadableFileIsNeverReplaced)
{
    TempFolder dir;
    QDir(dir.path()).mkpath(u"d.ini/keep"_s);
    const QString path = dir.file(u"d.ini"_s);
    ProfileBatch batch(path);
    EXPECT_EQ(batch.get(u"A"_s, u"k"_s, u"d"_s), u"d"_s);
    batch.put(u"A"_s, u"k"_s, u"v"_s);
    expectCannotWrite([&] { batch.commit(); }, path);
    expectCannotWrite([&] { batch.put(u"A"_s, u"k=x"_s, u"v"_s); }, path);
    EXPECT_TRUE(QDir(dir.file(u"d.ini/keep"_s)).exists());
}

TEST(ProfileFileBatch, textThatGivesTheSameBytesLeavesTheFileAndItsTimeAlone)
{
    TempFolder dir;
    const QByteArray bytes("[Cal]\r\nMarkupStr0=\x81\x60\r\n");
    dir.write(u"w.ini"_s, bytes);
    const QString path = dir.file(u"w.ini"_s);
    const QDateTime old = QDateTime::currentDateTime().addDays(-2);
    {
        QFile stamp(path);
        ASSERT_TRUE(stamp.open(QIODevice::ReadWrite));
        ASSERT_TRUE(stamp.setFileTime(old, QFileDevice::FileModificationTime));
    }
    const auto modified = [&] {
        return QFileInfo(path).fileTime(QFileDevice::FileModificationTime).toSecsSinceEpoch();
    };

    ProfileBatch batch(path);
    batch.put(u"cal"_s, u"MarkupStr0"_s, u"\u301C"_s); // the wave dash typed, the same code page byte pair
    EXPECT_EQ(batch.changeCount(), 1);
    batch.commit();
    EXPECT_EQ(modified(), old.toSecsSinceEpoch());
    EXPECT_EQ(dir.read(u"w.ini"_s), bytes);

    batch.put(u"Cal"_s, u"MarkupStr1"_s, u"★"_s);
    batch.put(u"Cal"_s, u"MarkupStr1"_s, u"★"_s); // the same again changes nothing
    EXPECT_EQ(batch.changeCount(), 2);
    batch.commit();
    EXPECT_NE(modified(), old.toSecsSinceEpoch());
    EXPECT_EQ(ProfileFile::get(path, u"Cal"_s, u"MarkupStr1"_s, {}), u"★"_s);

    // A file removed since it was read is written again even when its bytes would be the same.
    ProfileBatch again(path);
    again.put(u"Cal"_s, u"MarkupStr0"_s, u"\u301C"_s);
    QFile::remove(path);
    again.commit();
    EXPECT_EQ(ProfileFile::get(path, u"Cal"_s, u"MarkupStr1"_s, {}), u"★"_s);
}

// The typed reads of every store give what the profile functions give for the same text.
TEST(IniStoreTyped, everyStoreReadsNumbersAsTheProfileFunctions)
{
    TempFolder dir;
    const QString path = dir.file(u"t.ini"_s);
    const char* const stored[] = {"12",    " 12 ", "-3", "0x1F", "$ff",        "$FFFFFFFF",
                                  "\"5\"", "abc",  "",   "1.5",  "99999999999"};
    QByteArray text("[N]\r\n");
    for (int i = 0; i < int(std::size(stored)); ++i)
        text += "k" + QByteArray::number(i) + '=' + stored[i] + "\r\n";
    dir.write(u"t.ini"_s, text);

    ProfileFileStore file(path);
    const ProfileBatch batch(path);
    for (int i = 0; i <= int(std::size(stored)); ++i) { // the last key is missing
        const QString key = u"k"_s + QString::number(i);
        SCOPED_TRACE(key.toStdString());
        const int expected = ProfileFile::getInt(path, u"N"_s, key, 77);
        EXPECT_EQ(file.getInt(u"n"_s, key, 77), expected);
        EXPECT_EQ(batch.getInt(u"n"_s, key, 77), expected);
        const bool yes = ProfileFile::getBool(path, u"N"_s, key, true);
        EXPECT_EQ(file.getBool(u"N"_s, key, true), yes);
        EXPECT_EQ(batch.getBool(u"N"_s, key, true), yes);
    }
    EXPECT_EQ(batch.getInt(u"N"_s, u"k1"_s, 0), 12);
    EXPECT_EQ(batch.getInt(u"N"_s, u"k4"_s, 0), 255);
    EXPECT_EQ(batch.getInt(u"N"_s, u"k7"_s, 77), 77);
}

} // namespace
