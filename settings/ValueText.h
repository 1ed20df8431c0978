#pragma once

#include <QStringView>
#include <QtGlobal>

#include <optional>

// The integer rule of stored settings values: the whole text is a 32-bit signed decimal with an
// optional sign, or "$" and hexadecimal digits (up to 32 bits, taken as the signed 32-bit pattern).
// Anything else (empty, blanks, trailing characters, out of range) is no integer.
std::optional<qint32> ParseInteger(QStringView text);
qint32 IntegerOr(QStringView text, qint32 fallback);

// Equal ignoring the letter case of A-Z only, as names of the colour table and the boolean
// words are compared.
bool SameTextAscii(QStringView a, QStringView b);
