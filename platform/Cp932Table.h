#pragma once

#include "platform/Cp932Data.h"

#include <QtGlobal>

// Code page 932 as Windows maps it: ICU's windows-31j table, compiled in (nothing is built at run
// time). ICU's swapped control bytes are not used: bytes 0x00-0x7F always map to U+0000-U+007F.
namespace Cp932Table {

constexpr char16_t kEscapeBase = 0xF700; // byte b no table decodes <-> U+F700 + b
constexpr quint16 kNoCode = Cp932Data::kNone;

constexpr bool isLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
constexpr bool isTrailByte(unsigned char b)
{
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// The character of a lead and trail byte, 0 when the pair is not assigned.
inline char16_t decodePair(unsigned char lead, unsigned char trail)
{
    if (!isLeadByte(lead) || !isTrailByte(trail))
        return 0;
    return Cp932Data::kPairs[Cp932Data::leadIndex(lead)][trail - 0x40];
}
// Half-width katakana, else the escape character of the byte.
constexpr char16_t decodeSingle(unsigned char b)
{
    if (b < 0x80)
        return b;
    if (b >= 0xA1 && b <= 0xDF)
        return char16_t(0xFF61 + (b - 0xA1));
    return char16_t(kEscapeBase + b);
}
// One byte (<= 0xFF) or a lead/trail pair (lead << 8 | trail); kNoCode when not representable.
quint16 encode(char16_t c);
inline bool canEncode(char16_t c)
{
    return encode(c) != kNoCode;
}
// The code page's own character for a form input methods type instead (U+301C -> U+FF5E),
// else c itself: what the character reads back as once written.
char16_t readsBackAs(char16_t c);

} // namespace Cp932Table
