#pragma once

#include <QtGlobal>

#include <vector>

// Code page 932 built at run time from ICU's windows-31j table, the way the program once built it
// at every start. It stays as the reference the compiled table is generated from and checked
// against: ICU is the authority on the Microsoft mapping, the compiled table only a copy.
class Cp932IcuTable final {
public:
    Cp932IcuTable();

    // The character of a lead and trail byte, 0 when the pair is not assigned.
    char16_t decodePair(unsigned char lead, unsigned char trail) const;
    // One byte (<= 0xFF) or a lead/trail pair (lead << 8 | trail); 0xFFFF when not representable.
    quint16 encode(char16_t c) const;
    // The pair the table encodes a character to: ICU's choice where several pairs share it.
    quint16 encodePair(char16_t c) const { return m_unicodeToCode[c]; }

private:
    std::vector<char16_t> m_pairToUnicode;
    std::vector<quint16> m_unicodeToCode;
};
