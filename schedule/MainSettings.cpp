#include "schedule/MainSettings.h"

#include "schedule/SettingsTable.h"

using namespace SettingsKeys;

namespace {

using Row = SettingsTable::Row<MainSettings>;
using Field = SettingsTable::Field;

std::vector<Row> makeRows()
{
    const QString &pos = kPos, &cal = kCal, &memo = kMemo, &data = kData, &sheet = kSheet;
    std::vector<Row> rows = {
        {pos, kTop, [](MainSettings& s, int) -> Field { return &s.top; }, 0, nullptr, true},
        {pos, kLeft, [](MainSettings& s, int) -> Field { return &s.left; }, 0, nullptr, true},
        {pos, QStringLiteral("Width"), [](MainSettings& s, int) -> Field { return &s.width; }},
        {pos, QStringLiteral("Height"), [](MainSettings& s, int) -> Field { return &s.height; }},
        {pos, QStringLiteral("CalWidth"), [](MainSettings& s, int) -> Field { return &s.calWidth; }},
        {pos, QStringLiteral("CalHeight"), [](MainSettings& s, int) -> Field { return &s.calHeight; }},
        {pos, QStringLiteral("StartWeek"), [](MainSettings& s, int) -> Field { return &s.startWeek; }},
        {cal, QStringLiteral("SatColor"), [](MainSettings& s, int) -> Field { return &s.satColor; }},
        {cal, QStringLiteral("SunColor"), [](MainSettings& s, int) -> Field { return &s.sunColor; }},
    };
    // Each markup entry's symbol and colour in turn.
    for (int i = 0; i < kMarkupCount; ++i) {
        rows.push_back({cal, QStringLiteral("MarkupStr") + QString::number(i),
                        [](MainSettings& s, int k) -> Field { return &s.markup[k].symbol; }, i});
        rows.push_back({cal, QStringLiteral("MarkupColor") + QString::number(i),
                        [](MainSettings& s, int k) -> Field { return &s.markup[k].color; }, i});
    }
    const std::vector<Row> rest = {
        {memo, QStringLiteral("CharSet"), [](MainSettings& s, int) -> Field { return &s.charSet; }},
        {memo, QStringLiteral("FontStyleBold"), [](MainSettings& s, int) -> Field { return &s.bold; }},
        {memo, QStringLiteral("FontStyleItalic"), [](MainSettings& s, int) -> Field { return &s.italic; }},
        {memo, QStringLiteral("Editor1"), [](MainSettings& s, int) -> Field { return &s.editorPath; }},
        {data, QStringLiteral("Folder"), [](MainSettings& s, int) -> Field { return &s.dataFolder; }},
        {sheet, QStringLiteral("ColWidth"), [](MainSettings& s, int c) -> Field { return &s.colWidths[c]; },
         0, [](const MainSettings& s) { return int(s.colWidths.size()); }},
        {pos, QStringLiteral("ActivePage"), [](MainSettings& s, int) -> Field { return &s.activePage; }},
    };
    rows.insert(rows.end(), rest.begin(), rest.end());
    return rows;
}

const std::vector<Row>& rows()
{
    static const std::vector<Row> table = makeRows();
    return table;
}

} // namespace

void MainSettings::read(const IniStore& ini, int columnCount)
{
    const int fontCharSet = charSet;
    colWidths = QList<int>(columnCount + 1, kDefaultColWidth);
    SettingsTable::read<MainSettings>(rows(), *this, ini);
    // A character set outside a byte names none: keep the one the font came with.
    if (charSet < 0 || charSet > 255)
        charSet = fontCharSet;
}

void MainSettings::write(IniStore& ini) const
{
    SettingsTable::write<MainSettings>(rows(), *this, ini, positionKnown);
}
