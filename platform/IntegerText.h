#pragma once

#include <QStringView>
#include <QtGlobal>

#include <optional>

// The whole text as a 32-bit signed integer: decimal with an optional sign, or a hexadecimal
// prefix and up to eight hex digits taken as the 32-bit pattern (so $FFFFFFFF is -1). Anything
// else (empty, blanks, trailing characters, out of range) is no integer.
namespace IntegerText {

enum class HexPrefixes {
    DollarOnly, // "$1F", as the settings manager stores
    DollarOr0x, // "$1F" or "0x1F", as the main window's keys are read
};

std::optional<qint32> parse(QStringView text, HexPrefixes prefixes);

} // namespace IntegerText
