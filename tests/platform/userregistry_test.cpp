#include "platform/UserRegistry.h"

#include "platform/Failure.h"

#include "support/TempFolder.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

using ValueType = UserRegistry::ValueType;
using Change = UserRegistry::Change;

QString errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const ERegistryError& e) {
        return e.message();
    }
    return QStringLiteral("<no error>");
}

class UserRegistryTest : public ::testing::Test {
protected:
    TempFolder m_dir;
    QString m_file = m_dir.file(QStringLiteral("cfg/QuavScheduler/UserRegistry.json"));
    UserRegistry m_registry{m_file};
};

TEST_F(UserRegistryTest, valuesSurviveReopeningWithNamesIgnoringCase)
{
    {
        UserRegistry::Key key = m_registry.openKey(QStringLiteral("Software\\Quav"));
        UserRegistry::Key sub = key.createSubKey(QStringLiteral("MemoFont"));
        sub.writeString(QStringLiteral("prop_FontName"), QStringLiteral("ＭＳ ゴシック"));
        sub.writeBinary(QStringLiteral("blob"), QByteArray("\x00\x01\xff", 3));
        sub.writeBinary(QStringLiteral("empty"), QByteArray());
        sub.close();
        key.close();
    }
    UserRegistry::Key key = m_registry.openKey(QStringLiteral("SOFTWARE\\quav"));
    EXPECT_EQ(key.path(), QStringLiteral("Software\\Quav"));
    std::optional<UserRegistry::Key> sub = key.openSubKey(QStringLiteral("memofont"));
    ASSERT_TRUE(sub.has_value());
    EXPECT_EQ(sub->readString(QStringLiteral("PROP_FONTNAME")), QStringLiteral("ＭＳ ゴシック"));
    EXPECT_EQ(sub->readBinary(QStringLiteral("Blob")), QByteArray("\x00\x01\xff", 3));

    const UserRegistry::ValueInfo text = sub->valueInfo(QStringLiteral("prop_fontname"));
    EXPECT_EQ(text.type, ValueType::String);
    EXPECT_EQ(text.size, (7 + 1) * 2);
    const UserRegistry::ValueInfo empty = sub->valueInfo(QStringLiteral("empty"));
    EXPECT_EQ(empty.type, ValueType::Binary);
    EXPECT_EQ(empty.size, 0);
    EXPECT_FALSE(sub->valueInfo(QStringLiteral("missing")).exists());
    EXPECT_EQ(sub->readString(QStringLiteral("missing")), QString());
}

TEST_F(UserRegistryTest, openSubKeyNeverCreatesAndCreateSubKeyTakesPaths)
{
    {
        UserRegistry::Key key = m_registry.openKey(QStringLiteral("Root"));
        EXPECT_FALSE(key.openSubKey(QStringLiteral("Missing")).has_value());
        UserRegistry::Key deep = key.createSubKey(QStringLiteral("\\One\\\\Two\\"));
        EXPECT_EQ(deep.path(), QStringLiteral("Root\\One\\Two"));
        deep.close();
        key.close();
    }
    UserRegistry::Key key = m_registry.openKey(QStringLiteral("Root"));
    EXPECT_FALSE(key.openSubKey(QStringLiteral("Missing")).has_value());
    EXPECT_TRUE(key.openSubKey(QStringLiteral("one\\two")).has_value());
}

TEST_F(UserRegistryTest, readingTheWrongTypeIsATypeError)
{
    UserRegistry::Key key = m_registry.openKey(QStringLiteral("A"));
    key.writeBinary(QStringLiteral("bin"), QByteArray("abc"));
    key.writeString(QStringLiteral("str"), QStringLiteral("abc"));
    EXPECT_EQ(errorOf([&] { key.readString(QStringLiteral("bin")); }),
              QStringLiteral("'bin' のデータ型が不正です"));
    EXPECT_EQ(errorOf([&] { key.readBinary(QStringLiteral("str")); }),
              QStringLiteral("'str' のデータ型が不正です"));
}

TEST_F(UserRegistryTest, handWrittenFileWithAnIntegerValueLoads)
{
    UserRegistry registry(QStringLiteral(QUAV_TEST_DATA "/settings/userregistry_integer.json"));
    UserRegistry::Key key = registry.openKey(QStringLiteral("Software\\Quav"));
    std::optional<UserRegistry::Key> sub = key.openSubKey(QStringLiteral("MemoFont"));
    ASSERT_TRUE(sub.has_value());
    const UserRegistry::ValueInfo info = sub->valueInfo(QStringLiteral("prop_FontSize"));
    EXPECT_EQ(info.type, ValueType::Integer);
    EXPECT_EQ(info.size, 4);
    EXPECT_EQ(errorOf([&] { sub->readString(QStringLiteral("prop_FontSize")); }),
              QStringLiteral("'prop_FontSize' のデータ型が不正です"));
    EXPECT_EQ(errorOf([&] { sub->readBinary(QStringLiteral("prop_FontSize")); }),
              QStringLiteral("'prop_FontSize' のデータ型が不正です"));
    EXPECT_EQ(sub->readString(QStringLiteral("prop_FontName")), QStringLiteral("ＭＳ ゴシック"));
}

TEST_F(UserRegistryTest, deleteValueReportsWhetherThereWasOne)
{
    {
        UserRegistry::Key key = m_registry.openKey(QStringLiteral("A"));
        key.writeString(QStringLiteral("gone"), QStringLiteral("1"));
        key.writeString(QStringLiteral("kept"), QStringLiteral("2"));
        key.close();
    }
    {
        UserRegistry::Key key = m_registry.openKey(QStringLiteral("A"));
        EXPECT_TRUE(key.deleteValue(QStringLiteral("GONE")));
        EXPECT_FALSE(key.deleteValue(QStringLiteral("never")));
        key.close();
    }
    UserRegistry::Key key = m_registry.openKey(QStringLiteral("A"));
    EXPECT_FALSE(key.valueInfo(QStringLiteral("gone")).exists());
    EXPECT_EQ(key.readString(QStringLiteral("kept")), QStringLiteral("2"));
}

TEST_F(UserRegistryTest, writesReachTheFileAtCloseOrWhenTheHandleGoes)
{
    {
        UserRegistry::Key key = m_registry.openKey(QStringLiteral("A"));
        key.writeString(QStringLiteral("v"), QStringLiteral("1"));
        EXPECT_FALSE(QFile::exists(m_file));
    }
    ASSERT_TRUE(QFile::exists(m_file));
    EXPECT_EQ(m_registry.openKey(QStringLiteral("A")).readString(QStringLiteral("v")), QStringLiteral("1"));
}

TEST_F(UserRegistryTest, observerSeesChangesOnceTheyAreWritten)
{
    QList<Change> seen;
    m_registry.setObserver([&](const Change& c) { seen.append(c); });
    UserRegistry::Key key = m_registry.openKey(QStringLiteral("A"));
    UserRegistry::Key sub = key.createSubKey(QStringLiteral("S"));
    sub.writeString(QStringLiteral("x"), QStringLiteral("1"));
    sub.deleteValue(QStringLiteral("x"));
    sub.deleteValue(QStringLiteral("x"));
    EXPECT_TRUE(seen.isEmpty());
    sub.close();
    key.close();
    ASSERT_EQ(seen.size(), 4);
    EXPECT_EQ(seen[0].kind, Change::Kind::CreateKey);
    EXPECT_EQ(seen[0].keyPath, QStringLiteral("A"));
    EXPECT_EQ(seen[1].kind, Change::Kind::CreateKey);
    EXPECT_EQ(seen[1].keyPath, QStringLiteral("A\\S"));
    EXPECT_EQ(seen[2].kind, Change::Kind::SetValue);
    EXPECT_EQ(seen[3].kind, Change::Kind::DeleteValue);
    EXPECT_EQ(seen[3].valueName, QStringLiteral("x"));
}

TEST_F(UserRegistryTest, blockedFolderRefusesValueWritesButNotMereKeyCreation)
{
    m_dir.write(QStringLiteral("cfg"), "a regular file where the folder should be");
    UserRegistry::Key key = m_registry.openKey(QStringLiteral("A"));
    UserRegistry::Key sub = key.createSubKey(QStringLiteral("S"));
    sub.writeString(QStringLiteral("first"), QStringLiteral("1"));
    sub.writeString(QStringLiteral("second"), QStringLiteral("2"));
    EXPECT_EQ(errorOf([&] { sub.close(); }), QStringLiteral("'first' の設定に失敗しました"));
    EXPECT_EQ(errorOf([&] { key.close(); }), QStringLiteral("<no error>"));

    UserRegistry::Key keysOnly = m_registry.openKey(QStringLiteral("B\\C"));
    EXPECT_EQ(errorOf([&] { keysOnly.close(); }), QStringLiteral("<no error>"));
}

struct CorruptCase {
    const char* name;
    QByteArray bytes;
};

class UserRegistryCorrupt : public ::testing::TestWithParam<CorruptCase> {};

TEST_P(UserRegistryCorrupt, readsEmptyAndIsNeverOverwritten)
{
    TempFolder dir;
    dir.write(QStringLiteral("UserRegistry.json"), GetParam().bytes);
    UserRegistry registry(dir.file(QStringLiteral("UserRegistry.json")));

    UserRegistry::Key key = registry.openKey(QStringLiteral("Software\\Quav"));
    EXPECT_FALSE(key.openSubKey(QStringLiteral("S")).has_value());
    EXPECT_FALSE(key.valueInfo(QStringLiteral("v")).exists());
    UserRegistry::Key sub = key.createSubKey(QStringLiteral("S"));
    sub.writeString(QStringLiteral("v"), QStringLiteral("new"));
    EXPECT_EQ(errorOf([&] { sub.close(); }), QStringLiteral("'v' の設定に失敗しました"));
    key.close();
    EXPECT_EQ(dir.read(QStringLiteral("UserRegistry.json")), GetParam().bytes);
}

const QByteArray kHeader = R"("format":"QuavScheduler user registry","version":1)";

INSTANTIATE_TEST_SUITE_P(
    Files, UserRegistryCorrupt,
    ::testing::Values(
        CorruptCase{"garbage", QByteArray("\x00\xff{not json", 11)},
        CorruptCase{"truncated", "{" + kHeader + R"(,"root":{"keys":{"Software":{)"},
        CorruptCase{"otherFormat", R"({"format":"something else","version":1,"root":{}})"},
        CorruptCase{"laterVersion", R"({"format":"QuavScheduler user registry","version":2,"root":{}})"},
        CorruptCase{"array", "[1,2,3]"},
        CorruptCase{"badBase64",
                    "{" + kHeader + R"(,"root":{"values":{"b":{"type":"binary","data":"@@@"}}}})"},
        CorruptCase{"unknownType", "{" + kHeader + R"(,"root":{"values":{"b":{"type":"qword","data":1}}}})"},
        CorruptCase{"integerOutOfRange",
                    "{" + kHeader + R"(,"root":{"values":{"b":{"type":"integer","data":4294967296}}}})"},
        CorruptCase{"namesDifferingInCase",
                    "{" + kHeader + R"(,"root":{"keys":{"Software":{},"SOFTWARE":{}}}})"},
        CorruptCase{"keyNameWithBackslash", "{" + kHeader + R"(,"root":{"keys":{"A\\B":{}}}})"}),
    [](const ::testing::TestParamInfo<CorruptCase>& info) { return std::string(info.param.name); });

TEST(UserRegistryFile, emptyFileReadsEmptyAndIsWritten)
{
    TempFolder dir;
    dir.write(QStringLiteral("r.json"), "");
    UserRegistry registry(dir.file(QStringLiteral("r.json")));
    UserRegistry::Key key = registry.openKey(QStringLiteral("A"));
    key.writeString(QStringLiteral("v"), QStringLiteral("1"));
    key.close();
    EXPECT_EQ(registry.openKey(QStringLiteral("A")).readString(QStringLiteral("v")), QStringLiteral("1"));
}

TEST(UserRegistryFile, defaultPathFollowsXdgConfigHome)
{
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/tmp/xdg-config");
    EXPECT_EQ(UserRegistry::defaultFilePath(),
              QStringLiteral("/tmp/xdg-config/QuavScheduler/UserRegistry.json"));
    qputenv("XDG_CONFIG_HOME", "relative/path");
    EXPECT_EQ(UserRegistry::defaultFilePath(),
              QDir::homePath() + QStringLiteral("/.config/QuavScheduler/UserRegistry.json"));
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(UserRegistry::defaultFilePath(),
              QDir::homePath() + QStringLiteral("/.config/QuavScheduler/UserRegistry.json"));
    if (!saved.isNull())
        qputenv("XDG_CONFIG_HOME", saved);
}

} // namespace
