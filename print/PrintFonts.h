#pragma once

#include <QFont>

class QPaintDevice;

// Fonts of the screen for a printed page: sizes in points, so they print as large as they
// look on a screen of 96 dots per inch whatever the printer's resolution.
namespace PrintFonts {

QFont forPage(const QFont& screen, qreal scale = 1.0);
// Device pixels per point on the device.
qreal unit(const QPaintDevice& device);

} // namespace PrintFonts
