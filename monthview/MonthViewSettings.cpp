#include "monthview/MonthViewSettings.h"

#include "schedule/MainSettings.h"
#include "schedule/SettingsTable.h"

namespace {

using Row = SettingsTable::Row<MonthViewSettings>;
using Field = SettingsTable::Field;
using SettingsKeys::kMonthView;

const std::vector<Row>& rows()
{
    static const std::vector<Row> table = {
        {kMonthView, SettingsKeys::kTop, [](MonthViewSettings& s, int) -> Field { return &s.top; }, 0,
         nullptr, true},
        {kMonthView, SettingsKeys::kLeft, [](MonthViewSettings& s, int) -> Field { return &s.left; }, 0,
         nullptr, true},
        {kMonthView, QStringLiteral("Width"), [](MonthViewSettings& s, int) -> Field { return &s.width; }},
        {kMonthView, QStringLiteral("Height"), [](MonthViewSettings& s, int) -> Field { return &s.height; }},
        {kMonthView, QStringLiteral("P1Width"),
         [](MonthViewSettings& s, int) -> Field { return &s.p1Width; }},
        {kMonthView, QStringLiteral("P2Width"),
         [](MonthViewSettings& s, int) -> Field { return &s.p2Width; }},
    };
    return table;
}

} // namespace

void MonthViewSettings::read(const IniStore& ini)
{
    SettingsTable::read<MonthViewSettings>(rows(), *this, ini);
}

void MonthViewSettings::write(IniStore& ini) const
{
    SettingsTable::write<MonthViewSettings>(rows(), *this, ini, positionKnown);
}
