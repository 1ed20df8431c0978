#pragma once

#include "print/PrintSource.h"

#include <QColor>
#include <QList>

#include <optional>

class QPainter;
class QPagedPaintDevice;

// The month grid on paper as on screen: the month, the column captions at the top of every
// page, the day rows with their weekend, holiday and markup colours, fitted to the page width.
namespace MonthSheetPrint {

// The fill of a schedule cell, or none; a colour that names a system colour fills nothing.
std::optional<QColor> cellColour(const MonthSheet& sheet, int col, int row);

struct Layout {
    QList<qreal> colWidths; // device pixels, adding up to the page width
    qreal rowHeight = 0;
    qreal titleHeight = 0;
    qreal fontScale = 1; // below 1 when the grid is wider than the page
    int rowsPerPage = 0; // day rows under the caption row
};
Layout layout(const MonthSheet& sheet, const QPagedPaintDevice& device);

// Paints every page; the first page is open on the painter. False when a page was refused.
bool paint(QPainter& painter, QPagedPaintDevice& device, const MonthSheet& sheet);

} // namespace MonthSheetPrint
