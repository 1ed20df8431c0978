#pragma once

#include <QRect>
#include <QString>

#include <optional>

class QPainter;

// Fills a schedule cell with its weekend or markup colour and draws its text over it, the same
// in the main grid and the three-month view. No fill, or a colour that names none, paints nothing.
// The text keeps the painter's pen colour where that reads on the fill, else one that does.
void paintMarkedCell(QPainter& painter, const QRect& rect, const QString& text,
                     const std::optional<quint32>& fill);
