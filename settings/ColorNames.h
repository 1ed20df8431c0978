#pragma once

#include "settings/Font.h"

#include <QString>
#include <QStringView>

#include <optional>

// The colour names a stored font may carry, both ways.

// The name of a colour that has one.
std::optional<QString> ColorToIdent(TColor color);
// The colour of a name, ignoring ASCII letter case.
std::optional<TColor> IdentToColor(QStringView ident);

// The name when the colour has one, else "$" and 8 upper-case hexadecimal digits.
QString ColorToString(TColor color);
// A name or an integer text; anything else throws EConvertError "'<text>' は整数ではありません".
TColor StringToColor(const QString& text);
