#include "print/PrintFonts.h"

#include <QPaintDevice>

namespace PrintFonts {

QFont forPage(const QFont& screen, qreal scale)
{
    QFont font = screen;
    qreal points = screen.pointSizeF();
    if (points <= 0) {
        const int pixels = screen.pixelSize();
        points = pixels > 0 ? pixels * 72.0 / 96.0 : 9.0;
    }
    font.setPointSizeF(std::max(points * scale, 1.0));
    // Glyph shapes as designed: hinting for a screen grid only distorts them on paper.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

qreal unit(const QPaintDevice& device)
{
    return device.logicalDpiY() / 72.0;
}

} // namespace PrintFonts
