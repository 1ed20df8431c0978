#pragma once

#include <QtGlobal>

#include <array>
#include <memory>

// Code page 932 as Windows maps it, built once from ICU's windows-31j table. ICU's swapped
// control bytes are not used: bytes 0x00-0x7F always map to U+0000-U+007F.
class Cp932Table final {
public:
    static constexpr char16_t kEscapeBase = 0xF700; // byte b no table decodes <-> U+F700 + b
    static constexpr quint16 kNoCode = 0xFFFF;

    static const Cp932Table& instance();

    static bool isLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
    static bool isTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

    // The character of a lead and trail byte, 0 when the pair is not assigned.
    char16_t decodePair(unsigned char lead, unsigned char trail) const
    {
        return isTrailByte(trail) ? (*m_pairToUnicode)[(lead << 8) | trail] : 0;
    }
    // Half-width katakana, else the escape character of the byte.
    static char16_t decodeSingle(unsigned char b)
    {
        if (b < 0x80)
            return b;
        if (b >= 0xA1 && b <= 0xDF)
            return char16_t(0xFF61 + (b - 0xA1));
        return char16_t(kEscapeBase + b);
    }
    // One byte (<= 0xFF) or a lead/trail pair (lead << 8 | trail); kNoCode when not representable.
    quint16 encode(char16_t c) const;
    bool canEncode(char16_t c) const { return encode(c) != kNoCode; }
    // The code page's own character for a form input methods type instead (U+301C -> U+FF5E),
    // else c itself: what the character reads back as once written.
    static char16_t readsBackAs(char16_t c);

private:
    Cp932Table();
    std::unique_ptr<std::array<char16_t, 0x10000>> m_pairToUnicode;
    std::unique_ptr<std::array<quint16, 0x10000>> m_unicodeToCode;
};
