#pragma once

#include "settings/Font.h"

#include <QColor>
#include <QFont>

// The stored font record meets the toolkit here and nowhere else.
namespace FontConvert {

QFont toQFont(const TFont& font);
// A colour of the settings (0x00BBGGRR); system colours and "none" give an invalid QColor.
QColor toQColor(quint32 color);
// The memo font the window starts with before any setting is read: ＭＳ ゴシック, 12 pixels.
TFont defaultMemoFont();
// Lets the Windows font names of old settings files render with an installed Japanese font.
void registerSubstitutions();

} // namespace FontConvert
