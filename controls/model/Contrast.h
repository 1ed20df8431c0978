#pragma once

#include <QtGlobal>

// Colours that stay readable on whatever the desktop's palette is: text on a coloured fill and
// lines on a background, by the relative luminance and contrast ratio of WCAG 2.
// Colours are 0xRRGGBB; anything above the low 24 bits is ignored.
namespace Contrast {

// The least ratio for text to read (WCAG AA for body text).
constexpr double kMinTextRatio = 4.5;
// The least ratio for a grid line to be seen at all against what it separates.
constexpr double kMinLineRatio = 1.6;

double luminance(quint32 rgb);
// From 1 (the same) to 21 (black on white), whichever way round.
double ratio(quint32 a, quint32 b);

// `wanted` itself when it contrasts with `background` by at least `minRatio`; else `wanted`
// moved step by step toward black or white, whichever contrasts more with the background, until
// it does. Black or white always reaches kMinTextRatio, so a hue is kept where it can be.
quint32 readableOn(quint32 background, quint32 wanted, double minRatio = kMinTextRatio);

} // namespace Contrast
