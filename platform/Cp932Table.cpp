#include "platform/Cp932Table.h"

namespace Cp932Table {

namespace {
struct TypedForm {
    char16_t unicode;
    quint16 code;
    char16_t readBack; // the code page's character at that code
};
constexpr TypedForm kTypedForms[] = {
    {0x301C, 0x8160, 0xFF5E}, // WAVE DASH
    {0x2016, 0x8161, 0x2225}, // DOUBLE VERTICAL LINE
    {0x2212, 0x817C, 0xFF0D}, // MINUS SIGN
    {0x00A2, 0x8191, 0xFFE0}, // CENT SIGN
    {0x00A3, 0x8192, 0xFFE1}, // POUND SIGN
    {0x00AC, 0x81CA, 0xFFE2}, // NOT SIGN
    {0x2014, 0x815C, 0x2015}, // EM DASH
    {0x00A6, 0xFA55, 0xFFE4}, // BROKEN BAR
};
} // namespace

char16_t readsBackAs(char16_t c)
{
    for (const TypedForm& form : kTypedForms) {
        if (form.unicode == c)
            return form.readBack;
    }
    return c;
}

quint16 encode(char16_t c)
{
    if (c < 0x80)
        return c;
    if (c >= 0xFF61 && c <= 0xFF9F)
        return quint16(0xA1 + (c - 0xFF61));
    if (c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF)
        return quint16(c - kEscapeBase);
    const quint16 code = Cp932Data::kEncode[Cp932Data::kEncodeBlock[c >> 8]][c & 0xFF];
    if (code != kNoCode)
        return code;
    // Input methods of this platform type these forms for code page characters (〜 is U+301C
    // here, U+FF5E on Windows); they go out as the characters they stand for, as Windows's own
    // conversion does, so one typed 〜 does not turn a whole file into UTF-8.
    for (const TypedForm& form : kTypedForms) {
        if (form.unicode == c)
            return form.code;
    }
    return kNoCode;
}

} // namespace Cp932Table
