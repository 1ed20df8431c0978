#include "settings/RegMng.h"

#include "platform/Failure.h"
#include "platform/ProfileFile.h"
#include "platform/UserRegistry.h"

#include "support/RecordingMessageService.h"
#include "support/TempFolder.h"

#include <QFile>

#include <algorithm>

#include <gtest/gtest.h>

namespace {

const QString kBadIni = QStringLiteral("can not create Inifile object.");
const QString kBadReg = QStringLiteral("can not create Registry object.");
const QString kRegDir = QStringLiteral("Software\\Quav\\QuavScheduler");

template <typename E> QString errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const E& e) {
        return e.message();
    }
    return QStringLiteral("<no error>");
}

// A manager with the main window's two items, over a temporary INI file and registry file.
class RegManagerBase {
protected:
    RegManagerBase()
    {
        addItem(QStringLiteral("MemoFont"), QStringLiteral("MemoFont"), QStringLiteral("prop"));
        addItem(QStringLiteral("SchItem"), QStringLiteral("SchItem"), QStringLiteral("item"));
        m_manager.SetIniFileName(m_ini);
        m_manager.SetRegDir(kRegDir);
        UserRegistry registry(m_regFile);
        registry.setObserver([this](const UserRegistry::Change& c) { m_changes.append(c); });
        m_manager.SetRegistry(registry);
    }

    TRegItem* addItem(const QString& name, const QString& section, const QString& ident,
                      const QString& def = {})
    {
        TRegItem* item = m_manager.RegItems().Add();
        item->SetName(name);
        item->SetSection(section);
        item->SetIdent(ident);
        item->SetDefaultValue(def);
        return item;
    }

    // The store as seen without the filer.
    std::optional<QString> stored(const QString& section, const QString& key) const
    {
        if (m_manager.RegType() == TRegType::rtIni) {
            const QString missing = QStringLiteral("\x01missing");
            const QString value = ProfileFile::get(m_ini, section, key, missing);
            return value == missing ? std::nullopt : std::optional<QString>(value);
        }
        UserRegistry::Key key0 = m_manager.Registry().openKey(kRegDir);
        std::optional<UserRegistry::Key> sub = key0.openSubKey(section);
        if (!sub || !sub->valueInfo(key).exists())
            return std::nullopt;
        return sub->readString(key);
    }

    void store(const QString& section, const QString& key, const QString& value)
    {
        if (m_manager.RegType() == TRegType::rtIni) {
            ProfileFile::put(m_ini, section, key, value);
            return;
        }
        UserRegistry::Key key0 = m_manager.Registry().openKey(kRegDir);
        UserRegistry::Key sub = key0.createSubKey(section);
        sub.writeString(key, value);
        sub.close();
        m_changes.clear();
    }

    TFont sampleFont() const
    {
        TFont font;
        font.Name = QStringLiteral("ＭＳ ゴシック");
        font.Size = 10;
        font.Color = 0x00FFFF80;
        font.Style = fsBold | fsUnderline;
        font.Charset = SHIFTJIS_CHARSET;
        return font;
    }

    RecordingMessageService m_messages;
    TempFolder m_dir;
    QString m_ini = m_dir.file(QStringLiteral("QuavScheduler.ini"));
    QString m_regFile = m_dir.file(QStringLiteral("config/UserRegistry.json"));
    QList<UserRegistry::Change> m_changes;
    TRegManager m_manager{m_messages};
};

class RegManagerTest : public RegManagerBase, public ::testing::Test {
protected:
    RegManagerTest() { m_manager.SetRegType(TRegType::rtIni); }
};

TEST_F(RegManagerTest, getFilerFindsByNameIgnoringCaseAndAlwaysHandsOutTheSameFiler)
{
    TRegItem* shadow = addItem(QStringLiteral("MEMOFONT"), QStringLiteral("Other"), QStringLiteral("x"));
    TRegFiler& first = m_manager.GetFiler(QStringLiteral("memofont"));
    EXPECT_EQ(first.Item(), m_manager.RegItems().GetItem(0));
    EXPECT_NE(first.Item(), shadow);
    EXPECT_EQ(&m_manager.GetFiler(QStringLiteral("SchItem")), &first);
    EXPECT_EQ(first.Item(), m_manager.RegItems().GetItem(1));
    EXPECT_EQ(first.Manager(), &m_manager);
    EXPECT_TRUE(m_messages.shown().isEmpty());
}

TEST_F(RegManagerTest, unknownNameShowsOneBoxAndLeavesTheFilerWithoutItem)
{
    m_manager.GetFiler(QStringLiteral("MemoFont"));
    TRegFiler& filer = m_manager.GetFiler(QStringLiteral("Nothing"));
    ASSERT_EQ(m_messages.shown().size(), 1);
    EXPECT_EQ(m_messages.shown()[0].text, QStringLiteral("[' Nothing '] is invalid."));
    EXPECT_EQ(m_messages.shown()[0].icon, MessageService::Icon::Error);
    EXPECT_EQ(m_messages.shown()[0].buttons, MessageService::Buttons::Ok);
    EXPECT_EQ(filer.Item(), nullptr);

    TFont font = sampleFont();
    filer.ReadFont(font);
    EXPECT_EQ(font, sampleFont());
    filer.WriteFont(font);
    QStringList lines{QStringLiteral("kept")};
    filer.ReadStrings(lines);
    EXPECT_EQ(lines, QStringList{QStringLiteral("kept")});
    filer.WriteStrings(lines);
    filer.WriteBool(true);
    EXPECT_FALSE(filer.ReadBool());
    EXPECT_EQ(filer.ReadInteger(), 0);
    EXPECT_EQ(filer.ReadString(), QString());
    EXPECT_FALSE(QFile::exists(m_ini));
    EXPECT_EQ(m_messages.shown().size(), 1);
}

TEST_F(RegManagerTest, deletingTheCurrentItemLeavesTheFilerWithoutItem)
{
    TRegFiler& filer = m_manager.GetFiler(QStringLiteral("SchItem"));
    m_manager.RegItems().Delete(1);
    EXPECT_EQ(filer.Item(), nullptr);
    filer.WriteStrings({QStringLiteral("a")});
    EXPECT_FALSE(QFile::exists(m_ini));
}

TEST_F(RegManagerTest, itemIndexesOutOfRangeAreListErrors)
{
    TRegItems& items = m_manager.RegItems();
    EXPECT_EQ(errorOf<EListError>([&] { items.GetItem(2); }),
              QStringLiteral("リストのインデックスが範囲を超えています (2)"));
    EXPECT_EQ(errorOf<EListError>([&] { items.GetItem(-1); }),
              QStringLiteral("リストのインデックスが範囲を超えています (-1)"));
    TRegItem source;
    EXPECT_EQ(errorOf<EListError>([&] { items.SetItem(5, &source); }),
              QStringLiteral("リストのインデックスが範囲を超えています (5)"));
    EXPECT_EQ(items.GetItem(1)->Index(), 1);
    EXPECT_EQ(source.Index(), -1);
}

TEST_F(RegManagerTest, setItemCopiesTheFourTextsAndOtherSourcesAreRefused)
{
    TRegItem source;
    source.SetName(QStringLiteral("N"));
    source.SetSection(QStringLiteral("S"));
    source.SetIdent(QStringLiteral("I"));
    source.SetDefaultValue(QStringLiteral("D"));
    m_manager.RegItems().SetItem(0, &source);
    const TRegItem* item = m_manager.RegItems().GetItem(0);
    EXPECT_EQ(item->Name(), QStringLiteral("N"));
    EXPECT_EQ(item->Section(), QStringLiteral("S"));
    EXPECT_EQ(item->Ident(), QStringLiteral("I"));
    EXPECT_EQ(item->DefaultValue(), QStringLiteral("D"));
    EXPECT_EQ(item->Collection(), &m_manager.RegItems());

    TRegItem target;
    EXPECT_EQ(errorOf<EConvertError>([&] { target.Assign(&m_manager.RegItems()); }),
              QStringLiteral("TRegItems を TRegItem に代入することはできません"));
    EXPECT_EQ(errorOf<EConvertError>([&] { target.Assign(nullptr); }),
              QStringLiteral("nil を TRegItem に代入することはできません"));
    EXPECT_TRUE(target.Name().isEmpty());
}

// Sees every primitive access the typed operations make.
class TracingFiler final : public TRegFiler {
public:
    using TRegFiler::TRegFiler;
    QString ReadValue(const QString& section, const QString& ident, const QString& def) override
    {
        m_trace.append(QStringLiteral("R %1 %2 [%3]").arg(section, ident, def));
        return TRegFiler::ReadValue(section, ident, def);
    }
    void WriteValue(const QString& section, const QString& ident, const QString& value) override
    {
        m_trace.append(QStringLiteral("W %1 %2 [%3]").arg(section, ident, value));
        TRegFiler::WriteValue(section, ident, value);
    }
    QStringList m_trace;
};

class TracingManager final : public TRegManager {
public:
    using TRegManager::TRegManager;

protected:
    std::unique_ptr<TRegFiler> CreateFiler() override { return std::make_unique<TracingFiler>(this); }
};

TEST_F(RegManagerTest, derivedManagerHandsOutItsFilerAndFontFieldsGoInOrderWithDefaultsTakenFirst)
{
    TracingManager manager(m_messages);
    manager.SetRegType(TRegType::rtIni);
    manager.SetIniFileName(m_ini);
    TRegItem* item = manager.RegItems().Add();
    item->SetName(QStringLiteral("MemoFont"));
    item->SetSection(QStringLiteral("MemoFont"));
    item->SetIdent(QStringLiteral("prop"));
    store(QStringLiteral("MemoFont"), QStringLiteral("prop_FontSize"), QStringLiteral("12"));

    auto* filer = dynamic_cast<TracingFiler*>(&manager.GetFiler(QStringLiteral("MemoFont")));
    ASSERT_NE(filer, nullptr);
    TFont font = sampleFont();
    filer->ReadFont(font);
    filer->WriteFont(font);
    EXPECT_EQ(filer->m_trace, (QStringList{
                                  QStringLiteral("R MemoFont prop_FontName [ＭＳ ゴシック]"),
                                  QStringLiteral("R MemoFont prop_FontSize [10]"),
                                  QStringLiteral("R MemoFont prop_FontColor [$00FFFF80]"),
                                  QStringLiteral("R MemoFont prop_FontStyle [5]"),
                                  QStringLiteral("R MemoFont prop_FontCharset [128]"),
                                  QStringLiteral("W MemoFont prop_FontName [ＭＳ ゴシック]"),
                                  QStringLiteral("W MemoFont prop_FontSize [12]"),
                                  QStringLiteral("W MemoFont prop_FontColor [$00FFFF80]"),
                                  QStringLiteral("W MemoFont prop_FontStyle [5]"),
                                  QStringLiteral("W MemoFont prop_FontCharset [128]"),
                              }));
}

TEST_F(RegManagerTest, emptyIniFileNameShowsTheBoxOncePerAccess)
{
    m_manager.SetIniFileName(QString());
    TFont font = sampleFont();
    m_manager.GetFiler(QStringLiteral("MemoFont")).ReadFont(font);
    EXPECT_EQ(m_messages.count(kBadIni), 5);
    EXPECT_EQ(font, sampleFont());

    m_messages.clear();
    m_manager.GetFiler(QStringLiteral("SchItem")).WriteStrings({QStringLiteral("a"), QStringLiteral("b")});
    EXPECT_EQ(m_messages.count(kBadIni), 4); // old count, new count, two lines
    EXPECT_EQ(m_messages.shown().size(), 4);
    EXPECT_EQ(m_messages.shown()[0].icon, MessageService::Icon::Error);
}

TEST_F(RegManagerTest, iniKindTouchesNoRegistry)
{
    TFont font = sampleFont();
    m_manager.GetFiler(QStringLiteral("MemoFont")).WriteFont(font);
    m_manager.GetFiler(QStringLiteral("MemoFont")).ReadFont(font);
    m_manager.GetFiler(QStringLiteral("SchItem")).WriteStrings({QStringLiteral("a")});
    m_manager.GetFiler(QStringLiteral("SchItem")).WriteStrings({});
    EXPECT_TRUE(QFile::exists(m_ini));
    EXPECT_FALSE(QFile::exists(m_regFile));
    EXPECT_TRUE(m_changes.isEmpty());
    EXPECT_TRUE(m_messages.shown().isEmpty());
}

TEST_F(RegManagerTest, refusedIniWriteFailsWithThePathAndKeepsTheItem)
{
    m_dir.write(QStringLiteral("blocked"), "a file, not a folder");
    const QString path = m_dir.file(QStringLiteral("blocked/QuavScheduler.ini"));
    m_manager.SetIniFileName(path);
    TRegFiler& filer = m_manager.GetFiler(QStringLiteral("MemoFont"));
    const TFont font = sampleFont();
    EXPECT_EQ(errorOf<EInOutError>([&] { filer.WriteFont(font); }),
              path + QStringLiteral(" に書き込めません"));
    EXPECT_EQ(filer.Item(), m_manager.RegItems().GetItem(0));
}

TEST_F(RegManagerTest, iniFileGetsTheMainWindowsSections)
{
    m_manager.GetFiler(QStringLiteral("MemoFont")).WriteFont(sampleFont());
    m_manager.GetFiler(QStringLiteral("SchItem"))
        .WriteStrings({QStringLiteral("予定1"), QStringLiteral("予定2")});
    QFile file(m_ini);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.startsWith("[MemoFont]\r\nprop_FontName="));
    EXPECT_TRUE(text.contains("prop_FontColor=$00FFFF80\r\nprop_FontStyle=5\r\nprop_FontCharset=128\r\n"));
    EXPECT_TRUE(text.contains("[SchItem]\r\nitem_ItemCount=2\r\nitem_Item0="));
}

TEST_F(RegManagerTest, damagedHugeCountNeitherHangsNorFloodsTheList)
{
    store(QStringLiteral("SchItem"), QStringLiteral("item_ItemCount"), QStringLiteral("2147483647"));
    store(QStringLiteral("SchItem"), QStringLiteral("item_Item0"), QStringLiteral("a"));
    QStringList read;
    m_manager.GetFiler(QStringLiteral("SchItem")).ReadStrings(read);
    ASSERT_EQ(read.size(), 10000);
    EXPECT_EQ(read.front(), QStringLiteral("a"));
    EXPECT_EQ(read.back(), QString());

    m_manager.GetFiler(QStringLiteral("SchItem")).WriteStrings({QStringLiteral("b")});
    m_manager.GetFiler(QStringLiteral("SchItem")).ReadStrings(read);
    EXPECT_EQ(read, QStringList{QStringLiteral("b")});
}

// Delete order is visible only in the store's own record of changes.
TEST_F(RegManagerTest, shorterListsDeleteStaleLinesFromTheTopThenRewriteTheCount)
{
    m_manager.SetRegType(TRegType::rtReg);
    auto lines = [](int n) {
        QStringList out;
        for (int i = 0; i < n; ++i)
            out.append(QStringLiteral("line %1").arg(i));
        return out;
    };
    auto trace = [this] {
        QStringList out;
        for (const UserRegistry::Change& c : m_changes)
            if (c.kind != UserRegistry::Change::Kind::CreateKey)
                out.append((c.kind == UserRegistry::Change::Kind::DeleteValue ? QStringLiteral("-")
                                                                              : QStringLiteral("+")) +
                           c.valueName);
        m_changes.clear();
        return out;
    };
    m_manager.GetFiler(QStringLiteral("SchItem")).WriteStrings(lines(7));
    trace();

    m_manager.GetFiler(QStringLiteral("SchItem")).WriteStrings(lines(5));
    EXPECT_EQ(trace(), (QStringList{QStringLiteral("-item_Item6"), QStringLiteral("-item_Item5"),
                                    QStringLiteral("+item_ItemCount"), QStringLiteral("+item_Item0"),
                                    QStringLiteral("+item_Item1"), QStringLiteral("+item_Item2"),
                                    QStringLiteral("+item_Item3"), QStringLiteral("+item_Item4")}));
    EXPECT_EQ(stored(QStringLiteral("SchItem"), QStringLiteral("item_ItemCount")), QStringLiteral("5"));

    m_manager.GetFiler(QStringLiteral("SchItem")).WriteStrings({});
    EXPECT_EQ(trace(), (QStringList{QStringLiteral("-item_Item4"), QStringLiteral("-item_Item3"),
                                    QStringLiteral("-item_Item2"), QStringLiteral("-item_Item1"),
                                    QStringLiteral("-item_Item0"), QStringLiteral("-item_ItemCount")}));
}

// The same behaviour over both stores.
class RegFilerStore : public RegManagerBase, public ::testing::TestWithParam<TRegType> {
protected:
    RegFilerStore() { m_manager.SetRegType(GetParam()); }
    TRegFiler& font() { return m_manager.GetFiler(QStringLiteral("MemoFont")); }
    TRegFiler& list() { return m_manager.GetFiler(QStringLiteral("SchItem")); }
    const QString kFont = QStringLiteral("MemoFont");
    const QString kList = QStringLiteral("SchItem");
};

TEST_P(RegFilerStore, fontRoundTripsWithNamedAndHexColours)
{
    TFont written = sampleFont();
    font().WriteFont(written);
    EXPECT_EQ(stored(kFont, QStringLiteral("prop_FontName")), QStringLiteral("ＭＳ ゴシック"));
    EXPECT_EQ(stored(kFont, QStringLiteral("prop_FontSize")), QStringLiteral("10"));
    EXPECT_EQ(stored(kFont, QStringLiteral("prop_FontColor")), QStringLiteral("$00FFFF80"));
    EXPECT_EQ(stored(kFont, QStringLiteral("prop_FontStyle")), QStringLiteral("5"));
    EXPECT_EQ(stored(kFont, QStringLiteral("prop_FontCharset")), QStringLiteral("128"));
    TFont read;
    font().ReadFont(read);
    EXPECT_EQ(read, written);

    written.Color = clWindowText;
    font().WriteFont(written);
    EXPECT_EQ(stored(kFont, QStringLiteral("prop_FontColor")), QStringLiteral("clWindowText"));
    EXPECT_TRUE(m_messages.shown().isEmpty());
}

TEST_P(RegFilerStore, fontWithOnlyANameChangesOnlyTheName)
{
    store(kFont, QStringLiteral("prop_FontName"), QStringLiteral("IPAGothic"));
    TFont font0 = sampleFont();
    font().ReadFont(font0);
    TFont expected = sampleFont();
    expected.Name = QStringLiteral("IPAGothic");
    EXPECT_EQ(font0, expected);
}

TEST_P(RegFilerStore, fontFieldsFallBackOneByOne)
{
    store(kFont, QStringLiteral("prop_FontName"), QString());
    store(kFont, QStringLiteral("prop_FontSize"), QStringLiteral("12pt"));
    store(kFont, QStringLiteral("prop_FontColor"), QStringLiteral("CLRED"));
    store(kFont, QStringLiteral("prop_FontStyle"), QStringLiteral("$10F"));
    store(kFont, QStringLiteral("prop_FontCharset"), QStringLiteral("Shift-JIS"));
    TFont font0 = sampleFont();
    font().ReadFont(font0);
    EXPECT_EQ(font0.Name, sampleFont().Name);
    EXPECT_EQ(font0.Size, 10);
    EXPECT_EQ(font0.Color, 0x000000FF);
    EXPECT_EQ(font0.Style, 0x0F);
    EXPECT_EQ(font0.Charset, 0);

    store(kFont, QStringLiteral("prop_FontName"), QString(40, QLatin1Char('N')));
    font().ReadFont(font0);
    EXPECT_EQ(font0.Name, QString(31, QLatin1Char('N')));
}

TEST_P(RegFilerStore, unknownColourFailsAfterNameAndSize)
{
    store(kFont, QStringLiteral("prop_FontName"), QStringLiteral("Stored"));
    store(kFont, QStringLiteral("prop_FontSize"), QStringLiteral("14"));
    store(kFont, QStringLiteral("prop_FontColor"), QStringLiteral("red"));
    store(kFont, QStringLiteral("prop_FontStyle"), QStringLiteral("0"));
    store(kFont, QStringLiteral("prop_FontCharset"), QStringLiteral("1"));
    TFont font0 = sampleFont();
    TRegFiler& filer = font();
    EXPECT_EQ(errorOf<EConvertError>([&] { filer.ReadFont(font0); }),
              QStringLiteral("'red' は整数ではありません"));
    EXPECT_EQ(font0.Name, QStringLiteral("Stored"));
    EXPECT_EQ(font0.Size, 14);
    EXPECT_EQ(font0.Color, sampleFont().Color);
    EXPECT_EQ(font0.Style, sampleFont().Style);
    EXPECT_EQ(font0.Charset, sampleFont().Charset);
    EXPECT_EQ(filer.Item(), m_manager.RegItems().GetItem(0));
}

TEST_P(RegFilerStore, listsRoundTripAndShrinkWithoutStaleLines)
{
    const QStringList seven{QStringLiteral("予定1"), QStringLiteral("b"), QStringLiteral(""),
                            QStringLiteral("d"),     QStringLiteral("e"), QStringLiteral("f"),
                            QStringLiteral("g")};
    list().WriteStrings(seven);
    QStringList read{QStringLiteral("old")};
    list().ReadStrings(read);
    EXPECT_EQ(read, seven);

    list().WriteStrings(seven.mid(0, 5));
    EXPECT_EQ(stored(kList, QStringLiteral("item_ItemCount")), QStringLiteral("5"));
    EXPECT_EQ(stored(kList, QStringLiteral("item_Item5")), std::nullopt);
    EXPECT_EQ(stored(kList, QStringLiteral("item_Item6")), std::nullopt);
    list().ReadStrings(read);
    EXPECT_EQ(read, seven.mid(0, 5));

    list().WriteStrings({});
    EXPECT_EQ(stored(kList, QStringLiteral("item_ItemCount")), std::nullopt);
    EXPECT_EQ(stored(kList, QStringLiteral("item_Item0")), std::nullopt);
    list().ReadStrings(read);
    EXPECT_TRUE(read.isEmpty());
}

TEST_P(RegFilerStore, listReadsMissingLinesAsEmptyAndIgnoresABadCount)
{
    store(kList, QStringLiteral("item_ItemCount"), QStringLiteral("3"));
    store(kList, QStringLiteral("item_Item0"), QStringLiteral("a"));
    store(kList, QStringLiteral("item_Item2"), QStringLiteral("c"));
    QStringList read;
    list().ReadStrings(read);
    EXPECT_EQ(read, (QStringList{QStringLiteral("a"), QString(), QStringLiteral("c")}));

    store(kList, QStringLiteral("item_ItemCount"), QStringLiteral("-2"));
    list().ReadStrings(read);
    EXPECT_TRUE(read.isEmpty());
    store(kList, QStringLiteral("item_ItemCount"), QStringLiteral("3 lines"));
    list().ReadStrings(read);
    EXPECT_TRUE(read.isEmpty());
}

TEST_P(RegFilerStore, emptyListOverNothingChangesNothing)
{
    // Opening the registry key may create it; no value may be written or removed.
    const auto valueChanges = [this] {
        return std::count_if(m_changes.cbegin(), m_changes.cend(), [](const UserRegistry::Change& c) {
            return c.kind != UserRegistry::Change::Kind::CreateKey;
        });
    };
    m_changes.clear();
    list().WriteStrings({});
    EXPECT_FALSE(QFile::exists(m_ini));
    EXPECT_EQ(valueChanges(), 0);
    EXPECT_EQ(stored(kList, QStringLiteral("item_ItemCount")), std::nullopt);

    store(kList, QStringLiteral("item_ItemCount"), QStringLiteral("0"));
    const QByteArray iniBefore = m_dir.read(QStringLiteral("QuavScheduler.ini"));
    m_changes.clear();
    list().WriteStrings({});
    EXPECT_EQ(stored(kList, QStringLiteral("item_ItemCount")), QStringLiteral("0"));
    EXPECT_EQ(valueChanges(), 0);
    EXPECT_EQ(m_dir.read(QStringLiteral("QuavScheduler.ini")), iniBefore);
}

TEST_P(RegFilerStore, itemWithoutSectionNeitherReadsNorWrites)
{
    addItem(QStringLiteral("Loose"), QString(), QStringLiteral("prop"), QStringLiteral("7"));
    TRegFiler& filer = m_manager.GetFiler(QStringLiteral("Loose"));
    filer.WriteString(QStringLiteral("x"));
    filer.WriteFont(sampleFont());
    filer.WriteStrings({QStringLiteral("a")});
    EXPECT_EQ(filer.ReadInteger(), 7);
    TFont font0 = sampleFont();
    filer.ReadFont(font0);
    EXPECT_EQ(font0, sampleFont());
    EXPECT_FALSE(QFile::exists(m_ini));
    EXPECT_FALSE(QFile::exists(m_regFile));
    EXPECT_TRUE(m_messages.shown().isEmpty());
}

struct BoolCase {
    const char* stored; // null: nothing stored
    const char* defaultValue;
    bool expected;
};

TEST_P(RegFilerStore, booleansReadTheLowByteAndOnlyTheDefaultKnowsWords)
{
    const BoolCase cases[] = {
        {nullptr, "yes", true}, {nullptr, "YeS", true}, {nullptr, "TRUE", true}, {nullptr, "1", true},
        {nullptr, "on", false}, {nullptr, "", false},   {nullptr, "2", false},   {"TRUE", "yes", false},
        {"YES", "", false},     {"2", "", true},        {"256", "yes", false},   {"$101", "", true},
        {"0", "yes", false},    {"-1", "", true},       {"1x", "yes", false},
    };
    for (const BoolCase& c : cases) {
        TempFolder dir;
        m_manager.SetIniFileName(dir.file(QStringLiteral("b.ini")));
        m_manager.SetRegistry(UserRegistry(dir.file(QStringLiteral("b.json"))));
        m_ini = m_manager.IniFileName();
        TRegItem* item = addItem(QStringLiteral("Flag"), QStringLiteral("Opt"), QStringLiteral("flag"),
                                 QString::fromLatin1(c.defaultValue));
        if (c.stored)
            store(QStringLiteral("Opt"), QStringLiteral("flag"), QString::fromLatin1(c.stored));
        EXPECT_EQ(m_manager.GetFiler(QStringLiteral("Flag")).ReadBool(), c.expected)
            << "stored " << (c.stored ? c.stored : "nothing") << ", default " << c.defaultValue;
        m_manager.RegItems().Delete(item->Index());
    }
}

TEST_P(RegFilerStore, simpleValuesAndTheirDefaults)
{
    TRegItem* item =
        addItem(QStringLiteral("Value"), QStringLiteral("Opt"), QStringLiteral("v"), QStringLiteral("42"));
    TRegFiler& filer = m_manager.GetFiler(QStringLiteral("Value"));
    EXPECT_EQ(filer.ReadInteger(), 42);
    EXPECT_EQ(filer.ReadString(), QStringLiteral("42"));
    filer.WriteBool(true);
    EXPECT_EQ(stored(QStringLiteral("Opt"), QStringLiteral("v")), QStringLiteral("1"));
    filer.WriteInteger(-17);
    EXPECT_EQ(stored(QStringLiteral("Opt"), QStringLiteral("v")), QStringLiteral("-17"));
    EXPECT_EQ(filer.ReadInteger(), -17);
    store(QStringLiteral("Opt"), QStringLiteral("v"), QStringLiteral("$1F"));
    EXPECT_EQ(filer.ReadInteger(), 31);
    store(QStringLiteral("Opt"), QStringLiteral("v"), QStringLiteral("31abc"));
    EXPECT_EQ(filer.ReadInteger(), 0);
    filer.WriteString(QStringLiteral("テキスト"));
    EXPECT_EQ(filer.ReadString(), QStringLiteral("テキスト"));
    item->SetDefaultValue(QStringLiteral("none"));
    item->SetIdent(QStringLiteral("missing"));
    EXPECT_EQ(filer.ReadInteger(), 0);
}

INSTANTIATE_TEST_SUITE_P(Stores, RegFilerStore, ::testing::Values(TRegType::rtIni, TRegType::rtReg),
                         [](const ::testing::TestParamInfo<TRegType>& info) {
                             return info.param == TRegType::rtIni ? std::string("Ini")
                                                                  : std::string("Registry");
                         });

class RegFilerRegistry : public RegManagerBase, public ::testing::Test {
protected:
    RegFilerRegistry() { m_manager.SetRegType(TRegType::rtReg); }
};

TEST_F(RegFilerRegistry, emptyRegDirShowsTheBoxOncePerAccess)
{
    m_manager.SetRegDir(QString());
    TFont font = sampleFont();
    m_manager.GetFiler(QStringLiteral("MemoFont")).WriteFont(font);
    EXPECT_EQ(m_messages.count(kBadReg), 5);
    EXPECT_EQ(m_messages.shown().size(), 5);
    EXPECT_FALSE(QFile::exists(m_regFile));

    m_messages.clear();
    m_manager.SetRegType(TRegType::rtIni);
    EXPECT_FALSE(m_manager.GetFiler(QStringLiteral("MemoFont")).CreateRegistryAccess().has_value());
    EXPECT_EQ(m_messages.texts(), QStringList{kBadReg});
}

TEST_F(RegFilerRegistry, valuesAreStringsBelowRegDirAndReadsCreateNoSection)
{
    QStringList lines;
    m_manager.GetFiler(QStringLiteral("SchItem")).ReadStrings(lines);
    {
        UserRegistry::Key key = m_manager.Registry().openKey(kRegDir);
        EXPECT_FALSE(key.openSubKey(QStringLiteral("SchItem")).has_value());
    }
    m_manager.GetFiler(QStringLiteral("MemoFont")).WriteFont(sampleFont());
    UserRegistry::Key key =
        m_manager.Registry().openKey(QStringLiteral("software\\quav\\quavscheduler\\memofont"));
    EXPECT_EQ(key.valueInfo(QStringLiteral("prop_FontSize")).type, UserRegistry::ValueType::String);
    EXPECT_EQ(key.readString(QStringLiteral("prop_FontSize")), QStringLiteral("10"));
}

TEST_F(RegFilerRegistry, nonStringValueIsATypeError)
{
    {
        UserRegistry::Key key = m_manager.Registry().openKey(kRegDir);
        key.createSubKey(QStringLiteral("MemoFont"))
            .writeBinary(QStringLiteral("prop_FontName"), QByteArray("x"));
    }
    TFont font = sampleFont();
    TRegFiler& filer = m_manager.GetFiler(QStringLiteral("MemoFont"));
    EXPECT_EQ(errorOf<ERegistryError>([&] { filer.ReadFont(font); }),
              QStringLiteral("'prop_FontName' のデータ型が不正です"));
    EXPECT_EQ(font, sampleFont());
}

TEST_F(RegFilerRegistry, refusedWriteNamesTheValue)
{
    m_dir.write(QStringLiteral("config"), "a file where the folder should be");
    TRegFiler& filer = m_manager.GetFiler(QStringLiteral("SchItem"));
    EXPECT_EQ(errorOf<ERegistryError>([&] { filer.WriteStrings({QStringLiteral("a")}); }),
              QStringLiteral("'item_ItemCount' の設定に失敗しました"));
    QStringList read{QStringLiteral("kept?")};
    filer.ReadStrings(read);
    EXPECT_TRUE(read.isEmpty());
}

} // namespace
