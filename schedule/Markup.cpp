#include "schedule/Markup.h"

#include "schedule/Holidays.h"

namespace Markup {

namespace {
const std::array<QString, kMarkupCount>& symbols()
{
    static const std::array<QString, kMarkupCount> list = {
        QStringLiteral("★"), QStringLiteral("☆"), QStringLiteral("●"), QStringLiteral("○"),
        QStringLiteral("■"), QStringLiteral("□"), QStringLiteral("▲"), QStringLiteral("△"),
        QStringLiteral("▼"), QStringLiteral("▽")};
    return list;
}

constexpr std::array<ColorRef, kMarkupCount> kColors = {5561971,  10874293, 14678500, 16508524, 16642216,
                                                        16710633, 15900621, 16440556, 5784060,  13420030};

// A match that starts on the second half of a surrogate pair is inside a character.
bool startsOnBoundary(const QString& text, qsizetype at)
{
    return at == 0 || !(text.at(at).isLowSurrogate() && text.at(at - 1).isHighSurrogate());
}

bool endsOnBoundary(const QString& text, qsizetype end)
{
    return end >= text.size() || !(text.at(end).isLowSurrogate() && text.at(end - 1).isHighSurrogate());
}

bool occurs(const QString& text, const QString& symbol)
{
    for (qsizetype at = text.indexOf(symbol); at >= 0; at = text.indexOf(symbol, at + 1)) {
        if (startsOnBoundary(text, at) && endsOnBoundary(text, at + symbol.size()))
            return true;
    }
    return false;
}
} // namespace

ColorRef defaultColor(int index)
{
    return kColors.at(index);
}

MarkupTable defaults()
{
    MarkupTable table;
    for (int i = 0; i < kMarkupCount; ++i)
        table[i] = {symbols()[i], kColors[i]};
    return table;
}

QString caption(int index, const QString& symbol)
{
    return symbol + QStringLiteral("(&") + QString::number((index + 1) % 10) + u')';
}

int find(const QString& text, const MarkupTable& table)
{
    if (text.isEmpty())
        return -1;
    for (int i = 0; i < kMarkupCount; ++i) {
        if (!table[i].symbol.isEmpty() && occurs(text, table[i].symbol))
            return i;
    }
    return -1;
}

std::optional<ColorRef> cellFill(QDate monthDate, int row, const QString& text, const CellColours& colours)
{
    return cellFill(monthDate, row, text, colours.saturday, colours.sunday, colours.markup, colours.holidays);
}

bool drawnAsSunday(QDate day, bool holidays)
{
    return day.dayOfWeek() == Qt::Sunday || (holidays && !Holidays::nameOf(day).isEmpty());
}

std::optional<ColorRef> cellFill(QDate monthDate, int row, const QString& text, ColorRef satColor,
                                 ColorRef sunColor, const MarkupTable& table, bool holidays)
{
    if (const int i = find(text, table); i >= 0)
        return table[i].color;
    const QDate day(monthDate.year(), monthDate.month(), row);
    if (!day.isValid())
        return std::nullopt;
    if (drawnAsSunday(day, holidays))
        return sunColor;
    if (day.dayOfWeek() == Qt::Saturday)
        return satColor;
    return std::nullopt;
}

} // namespace Markup
