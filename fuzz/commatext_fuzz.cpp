#include "controls/model/CommaText.h"
#include "controls/model/GridModel.h"
#include "platform/AnsiText.h"

#include <cstdint>
#include <cstdlib>

namespace {

bool sameCells(const GridModel& a, const GridModel& b)
{
    if (a.colCount() != b.colCount() || a.rowCount() != b.rowCount())
        return false;
    for (int r = 0; r < a.rowCount(); ++r) {
        if (a.rowCells(r) != b.rowCells(r))
            return false;
    }
    return true;
}

} // namespace

// A decoded line encodes to a line that decodes to the same fields, and a grid read from any
// file writes a file that reads back to the same grid.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = AnsiText::decode(AnsiText::untilNul(bytes));

    // The whole input as one line, breaks included, and each line of it.
    const QStringList fields = CommaText::decode(text);
    if (CommaText::decode(CommaText::encode(fields)) != fields)
        std::abort();
    for (const QString& line : AnsiText::splitLines(text)) {
        const QStringList lineFields = CommaText::decode(line);
        if (CommaText::decode(CommaText::encode(lineFields)) != lineFields)
            std::abort();
    }

    // The grid's own line scan agrees with the plain reading of the rules.
    GridModel grid(1, 1, 0, 0);
    grid.loadFromText(text);
    const QStringList lines = AnsiText::splitLines(text);
    if (!lines.isEmpty() && !CommaText::decode(lines.front()).isEmpty()) {
        const qsizetype cols = CommaText::decode(lines.front()).size();
        if (grid.rowCount() != lines.size() || grid.colCount() != cols)
            std::abort();
        for (int r = 0; r < grid.rowCount(); ++r) {
            QStringList want = CommaText::decode(lines.at(r));
            want.resize(cols);
            if (grid.rowCells(r) != want)
                std::abort();
        }
    }

    GridModel again(1, 1, 0, 0);
    // The code page round trip is the text fuzzer's concern; this one checks the lines.
    again.loadFromText(grid.toText());
    if (!sameCells(grid, again))
        std::abort();
    return 0;
}
