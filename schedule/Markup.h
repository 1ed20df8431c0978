#pragma once

#include <QDate>
#include <QString>

#include <array>
#include <optional>

// Colours are 0x00BBGGRR, red in the low byte, as they are stored.
using ColorRef = quint32;

struct MarkupEntry {
    QString symbol;
    ColorRef color = 0;
    bool operator==(const MarkupEntry&) const = default;
};

constexpr int kMarkupCount = 10;
using MarkupTable = std::array<MarkupEntry, kMarkupCount>;

namespace Markup {

constexpr ColorRef kDefaultSatColor = 16636124;
constexpr ColorRef kDefaultSunColor = 13684991;

MarkupTable defaults();
ColorRef defaultColor(int index);

// Menu caption: the symbol with its access key, 1 to 9 for the first nine and 0 for the tenth.
QString caption(int index, const QString& symbol);

// Index of the first entry whose symbol occurs in the text on a character boundary, else -1.
// Empty symbols and empty texts never match.
int find(const QString& text, const MarkupTable& table);

// Background of a schedule cell in row `row` (its day) of the month of `monthDate`: the first
// matching markup colour, else the Sunday or Saturday colour, else none. A row that is no day
// of the month gets no weekend colour. With `holidays` a national holiday is drawn as a Sunday.
std::optional<ColorRef> cellFill(QDate monthDate, int row, const QString& text, ColorRef satColor,
                                 ColorRef sunColor, const MarkupTable& table, bool holidays = false);

// The colour rule's inputs, as a window holds them.
struct CellColours {
    ColorRef saturday;
    ColorRef sunday;
    const MarkupTable& markup;
    bool holidays;
};
std::optional<ColorRef> cellFill(QDate monthDate, int row, const QString& text, const CellColours& colours);

// Whether a day takes the Sunday look: a Sunday, or with `holidays` a national holiday.
bool drawnAsSunday(QDate day, bool holidays);

} // namespace Markup
