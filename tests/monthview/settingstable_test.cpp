#include "schedule/MainSettings.h"
#include "monthview/MonthViewSettings.h"
#include "platform/IniStore.h"

#include <QMap>
#include <QStringList>

#include <gtest/gtest.h>

namespace {

// Keeps values in memory and the order in which keys were written.
class MemoryStore final : public IniStore {
public:
    QMap<QString, QString> values;
    QStringList written;

    const QString& path() const override { return m_path; }
    QString get(const QString& section, const QString& key, const QString& def) const override
    {
        return values.value(section + u'/' + key, def);
    }
    void put(const QString& section, const QString& key, const QString& value) override
    {
        values.insert(section + u'/' + key, value);
        written.append(section + u'/' + key);
    }
    void remove(const QString& section, const QString& key) override { values.remove(section + u'/' + key); }

private:
    QString m_path = QStringLiteral("memory");
};

QStringList mainKeysInOrder(bool withPosition, int columns)
{
    QStringList keys;
    if (withPosition)
        keys << u"Pos/Top"_qs << u"Pos/Left"_qs;
    keys << u"Pos/Width"_qs << u"Pos/Height"_qs << u"Pos/CalWidth"_qs << u"Pos/CalHeight"_qs
         << u"Pos/StartWeek"_qs << u"Cal/SatColor"_qs << u"Cal/SunColor"_qs;
    for (int i = 0; i < 10; ++i)
        keys << u"Cal/MarkupStr%1"_qs.arg(i) << u"Cal/MarkupColor%1"_qs.arg(i);
    keys << u"Memo/CharSet"_qs << u"Memo/FontStyleBold"_qs << u"Memo/FontStyleItalic"_qs << u"Memo/Editor1"_qs
         << u"Data/Folder"_qs;
    for (int c = 0; c <= columns; ++c)
        keys << u"Sheet/ColWidth%1"_qs.arg(c);
    keys << u"Pos/ActivePage"_qs;
    return keys;
}

// The order of the keys is the order they land in a new settings file: it must not move.
TEST(SettingsTable, mainWindowKeysAreWrittenInTableOrderWithEachMarkupEntryInTurn)
{
    MainSettings settings;
    settings.colWidths = {40, 60, 70};
    MemoryStore ini;
    settings.write(ini);
    EXPECT_EQ(ini.written, mainKeysInOrder(true, 2));

    settings.positionKnown = false;
    MemoryStore unplaced;
    settings.write(unplaced);
    EXPECT_EQ(unplaced.written, mainKeysInOrder(false, 2));
}

TEST(SettingsTable, whatIsWrittenReadsBackAndMissingOrUnreadableKeysKeepTheDefaults)
{
    MainSettings written;
    written.top = -20;
    written.startWeek = 6;
    written.sunColor = 0xFF00FF;
    written.markup[7] = {u"締"_qs, 0x123456};
    written.italic = true;
    written.editorPath = u"/usr/bin/mousepad"_qs;
    written.colWidths = {30, 31, 32, 33};
    written.activePage = 4;
    MemoryStore ini;
    written.write(ini);

    MainSettings read;
    read.read(ini, 3);
    EXPECT_EQ(read.top, -20);
    EXPECT_EQ(read.startWeek, 6);
    EXPECT_EQ(read.sunColor, 0xFF00FFu);
    EXPECT_EQ(read.markup, written.markup);
    EXPECT_TRUE(read.italic);
    EXPECT_EQ(read.editorPath, written.editorPath);
    EXPECT_EQ(read.colWidths, written.colWidths);
    EXPECT_EQ(read.activePage, 4);

    MemoryStore odd;
    odd.values = {
        {u"Pos/Width"_qs, u"wide"_qs}, {u"Memo/CharSet"_qs, u"300"_qs}, {u"Sheet/ColWidth1"_qs, u"77"_qs}};
    MainSettings fallback;
    fallback.charSet = 1;
    fallback.read(odd, 2);
    EXPECT_EQ(fallback.width, MainSettings().width);
    EXPECT_EQ(fallback.charSet, 1); // outside a byte: the font's own stays
    EXPECT_EQ(fallback.colWidths, (QList<int>{50, 77, 50}));
    EXPECT_EQ(fallback.markup, Markup::defaults());
}

TEST(SettingsTable, threeMonthViewKeepsItsOwnSectionAndOrder)
{
    MonthViewSettings view;
    view.p2Width = 300;
    MemoryStore ini;
    view.write(ini);
    EXPECT_EQ(ini.written, (QStringList{u"M3Pos/Top"_qs, u"M3Pos/Left"_qs, u"M3Pos/Width"_qs,
                                        u"M3Pos/Height"_qs, u"M3Pos/P1Width"_qs, u"M3Pos/P2Width"_qs}));
    MonthViewSettings read;
    read.read(ini);
    EXPECT_EQ(read.p2Width, 300);

    view.positionKnown = false;
    MemoryStore unplaced;
    view.write(unplaced);
    EXPECT_FALSE(unplaced.written.contains(u"M3Pos/Top"_qs));
    EXPECT_FALSE(unplaced.written.contains(u"M3Pos/Left"_qs));
}

} // namespace
