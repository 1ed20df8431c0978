#include "print/MonthSheetPrint.h"

#include "controls/model/Contrast.h"
#include "print/PrintFonts.h"
#include "schedule/DayTexts.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <numeric>

namespace MonthSheetPrint {

namespace {

constexpr qreal kScreenPoint = 72.0 / 96.0; // points per screen pixel
constexpr qreal kPadPoints = 2;
const QColor kFixedFill(0xEC, 0xEC, 0xEC);
const QColor kLine(0x80, 0x80, 0x80);

QColor fromColorRef(ColorRef color)
{
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

int columnCount(const MonthSheet& sheet)
{
    int count = int(sheet.colWidths.size());
    for (const QStringList& row : sheet.rows)
        count = std::max(count, int(row.size()));
    return count;
}

QString cell(const MonthSheet& sheet, int col, int row)
{
    if (row < 0 || row >= sheet.rows.size() || col < 0 || col >= sheet.rows[row].size())
        return {};
    return sheet.rows[row][col];
}

QRectF pageArea(const QPagedPaintDevice& device)
{
    const QRect paint = device.pageLayout().paintRectPixels(device.logicalDpiX());
    return QRectF(0, 0, paint.width(), paint.height());
}

} // namespace

std::optional<QColor> cellColour(const MonthSheet& sheet, int col, int row)
{
    if (col < 1 || row < 1)
        return std::nullopt;
    const std::optional<ColorRef> fill = Markup::cellFill(
        sheet.month, row, cell(sheet, col, row), sheet.saturday, sheet.sunday, sheet.markup, sheet.holidays);
    if (!fill || (*fill & 0xFF000000u))
        return std::nullopt;
    return fromColorRef(*fill);
}

Layout layout(const MonthSheet& sheet, const QPagedPaintDevice& device)
{
    Layout result;
    const qreal unit = PrintFonts::unit(device);
    const QRectF area = pageArea(device);
    const int cols = columnCount(sheet);
    QList<qreal> points;
    for (int c = 0; c < cols; ++c) {
        const int screen = c < sheet.colWidths.size() ? sheet.colWidths[c] : 64;
        points.append(std::max(screen, 1) * kScreenPoint);
    }
    const qreal total = std::accumulate(points.begin(), points.end(), 0.0) * unit;
    const qreal scale = total > 0 ? area.width() / total : 1;
    // A grid narrower than the page is widened and keeps its font; a wider one shrinks whole.
    result.fontScale = std::min(scale, 1.0);
    for (qreal width : points)
        result.colWidths.append(width * unit * scale);
    const QFont font = PrintFonts::forPage(sheet.font, result.fontScale);
    const QFontMetricsF metrics(font, &device);
    result.rowHeight = std::max(sheet.rowHeight * kScreenPoint * unit * result.fontScale,
                                metrics.height() + 2 * kPadPoints * unit * result.fontScale);
    QFont title = PrintFonts::forPage(sheet.font);
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.4);
    result.titleHeight = QFontMetricsF(title, &device).height() * 1.6;
    result.rowsPerPage =
        std::max(1, int((area.height() - result.titleHeight - result.rowHeight) / result.rowHeight));
    return result;
}

bool paint(QPainter& painter, QPagedPaintDevice& device, const MonthSheet& sheet)
{
    const Layout lay = layout(sheet, device);
    const qreal unit = PrintFonts::unit(device);
    const QFont font = PrintFonts::forPage(sheet.font, lay.fontScale);
    QFont title = PrintFonts::forPage(sheet.font);
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.4);
    const qreal pad = kPadPoints * unit * lay.fontScale;
    const QString titleText = DayTexts::monthLabel(sheet.month.year(), sheet.month.month()).trimmed();
    QPen line(kLine);
    line.setWidthF(0.5 * unit);

    auto drawRow = [&](int row, qreal y) {
        qreal x = 0;
        for (int c = 0; c < lay.colWidths.size(); ++c) {
            const QRectF rect(x, y, lay.colWidths[c], lay.rowHeight);
            x += lay.colWidths[c];
            const bool fixed = row == 0 || c == 0;
            const std::optional<QColor> fill =
                fixed ? std::optional<QColor>(kFixedFill) : cellColour(sheet, c, row);
            if (fill)
                painter.fillRect(rect, *fill);
            const QColor background = fill.value_or(Qt::white);
            painter.setPen(QColor::fromRgb(Contrast::readableOn(background.rgb(), 0x000000)));
            painter.drawText(rect.adjusted(pad, 0, -pad / 2, 0),
                             Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, cell(sheet, c, row));
            painter.setPen(line);
            painter.drawRect(rect);
        }
    };

    const int dayRows = std::max(0, int(sheet.rows.size()) - 1);
    int row = 1;
    bool ok = true;
    bool first = true;
    do {
        if (!first && !device.newPage())
            ok = false;
        first = false;
        painter.setFont(title);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(0, 0, pageArea(device).width(), lay.titleHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, titleText);
        painter.setFont(font);
        qreal y = lay.titleHeight;
        drawRow(0, y);
        y += lay.rowHeight;
        for (int n = 0; n < lay.rowsPerPage && row <= dayRows; ++n, ++row) {
            drawRow(row, y);
            y += lay.rowHeight;
        }
    } while (row <= dayRows);
    return ok;
}

} // namespace MonthSheetPrint
