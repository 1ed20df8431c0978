#pragma once

#include <QtGlobal>

// Code page 932's tables compiled into the program, so no start builds them through ICU.
// Cp932Data.cpp is generated from ICU's windows-31j table by tools/cp932 (target cp932-table).
namespace Cp932Data {

constexpr int kLeadCount = 60;   // lead bytes 0x81-0x9F and 0xE0-0xFC
constexpr int kTrailCount = 189; // trail bytes 0x40-0xFC (0x7F never trails and stays 0)
constexpr quint16 kNone = 0xFFFF;

constexpr int leadIndex(unsigned char lead)
{
    return lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 0x1F;
}

// The character of each lead/trail pair, 0 where the pair is not assigned.
extern const char16_t kPairs[kLeadCount][kTrailCount];

// The pair each character encodes to (lead << 8 | trail), kNone for none: kEncode[kEncodeBlock[c >> 8]]
// [c & 0xFF]. Block 0 is all kNone and stands for every high byte without a character. Where
// several pairs share a character (NEC and IBM rows) it holds the one Windows writes.
extern const quint8 kEncodeBlock[256];
extern const quint16 kEncode[][256];

} // namespace Cp932Data
