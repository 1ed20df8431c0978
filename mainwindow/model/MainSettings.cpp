#include "mainwindow/model/MainSettings.h"

#include "platform/IniStore.h"

using namespace SettingsKeys;

namespace {
QString numbered(const char* name, int i)
{
    return QLatin1String(name) + QString::number(i);
}
} // namespace

void MainSettings::read(const IniStore& ini, int columnCount)
{
    top = ini.getInt(kPos, QStringLiteral("Top"), top);
    left = ini.getInt(kPos, QStringLiteral("Left"), left);
    width = ini.getInt(kPos, QStringLiteral("Width"), width);
    height = ini.getInt(kPos, QStringLiteral("Height"), height);
    calWidth = ini.getInt(kPos, QStringLiteral("CalWidth"), calWidth);
    calHeight = ini.getInt(kPos, QStringLiteral("CalHeight"), calHeight);
    startWeek = ini.getInt(kPos, QStringLiteral("StartWeek"), startWeek);
    satColor = ColorRef(ini.getInt(kCal, QStringLiteral("SatColor"), int(satColor)));
    sunColor = ColorRef(ini.getInt(kCal, QStringLiteral("SunColor"), int(sunColor)));
    for (int i = 0; i < kMarkupCount; ++i) {
        markup[i].symbol = ini.get(kCal, numbered("MarkupStr", i), markup[i].symbol);
        markup[i].color = ColorRef(ini.getInt(kCal, numbered("MarkupColor", i), int(markup[i].color)));
    }
    // A character set outside a byte names none: keep the one the font came with.
    const int storedCharSet = ini.getInt(kMemo, QStringLiteral("CharSet"), charSet);
    if (storedCharSet >= 0 && storedCharSet <= 255)
        charSet = storedCharSet;
    bold = ini.getBool(kMemo, QStringLiteral("FontStyleBold"), bold);
    italic = ini.getBool(kMemo, QStringLiteral("FontStyleItalic"), italic);
    editorPath = ini.get(kMemo, QStringLiteral("Editor1"), editorPath);
    dataFolder = ini.get(kData, QStringLiteral("Folder"), dataFolder);
    colWidths.clear();
    for (int c = 0; c <= columnCount; ++c)
        colWidths.append(ini.getInt(kSheet, numbered("ColWidth", c), kDefaultColWidth));
    activePage = ini.getInt(kPos, QStringLiteral("ActivePage"), activePage);
}

void MainSettings::write(IniStore& ini) const
{
    if (positionKnown) {
        ini.putInt(kPos, QStringLiteral("Top"), top);
        ini.putInt(kPos, QStringLiteral("Left"), left);
    }
    ini.putInt(kPos, QStringLiteral("Width"), width);
    ini.putInt(kPos, QStringLiteral("Height"), height);
    ini.putInt(kPos, QStringLiteral("CalWidth"), calWidth);
    ini.putInt(kPos, QStringLiteral("CalHeight"), calHeight);
    ini.putInt(kPos, QStringLiteral("StartWeek"), startWeek);
    ini.putInt(kCal, QStringLiteral("SatColor"), int(satColor));
    ini.putInt(kCal, QStringLiteral("SunColor"), int(sunColor));
    for (int i = 0; i < kMarkupCount; ++i) {
        ini.put(kCal, numbered("MarkupStr", i), markup[i].symbol);
        ini.putInt(kCal, numbered("MarkupColor", i), int(markup[i].color));
    }
    ini.putInt(kMemo, QStringLiteral("CharSet"), charSet);
    ini.putBool(kMemo, QStringLiteral("FontStyleBold"), bold);
    ini.putBool(kMemo, QStringLiteral("FontStyleItalic"), italic);
    ini.put(kMemo, QStringLiteral("Editor1"), editorPath);
    ini.put(kData, QStringLiteral("Folder"), dataFolder);
    for (int c = 0; c < colWidths.size(); ++c)
        ini.putInt(kSheet, numbered("ColWidth", c), colWidths[c]);
    ini.putInt(kPos, QStringLiteral("ActivePage"), activePage);
}
