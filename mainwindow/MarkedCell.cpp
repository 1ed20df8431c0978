#include "mainwindow/MarkedCell.h"

#include "controls/model/Contrast.h"
#include "mainwindow/FontConvert.h"

#include <QPainter>

void paintMarkedCell(QPainter& painter, const QRect& rect, const QString& text,
                     const std::optional<quint32>& fill)
{
    if (!fill)
        return;
    const QColor color = FontConvert::toQColor(*fill);
    if (!color.isValid())
        return;
    painter.fillRect(rect, color);
    // The grid's text colour belongs to its own background; a dark palette's light text would
    // vanish on a pale fill.
    painter.setPen(QColor::fromRgb(Contrast::readableOn(color.rgb(), painter.pen().color().rgb())));
    painter.drawText(rect.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}
