#include "platform/Cp932Table.h"

#include <QStringDecoder>
#include <QStringEncoder>

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

const Cp932Table& Cp932Table::instance()
{
    static const Cp932Table table;
    return table;
}

Cp932Table::Cp932Table()
    : m_pairToUnicode(std::make_unique<std::array<char16_t, 0x10000>>()),
      m_unicodeToCode(std::make_unique<std::array<quint16, 0x10000>>())
{
    m_pairToUnicode->fill(0);
    m_unicodeToCode->fill(kNoCode);

    QStringDecoder decoder("windows-31j", QStringDecoder::Flag::Stateless);
    QStringEncoder encoder("windows-31j", QStringEncoder::Flag::Stateless);
    if (!decoder.isValid() || !encoder.isValid())
        qFatal("Qt lacks the windows-31j codec (ICU); code page 932 text cannot be handled");

    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!isLeadByte(static_cast<unsigned char>(lead)))
            continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (!isTrailByte(static_cast<unsigned char>(trail)))
                continue;
            const char pair[2] = {char(lead), char(trail)};
            const QString s = decoder.decode(QByteArrayView(pair, 2));
            decoder.resetState();
            if (s.size() != 1 || s.at(0) == QChar::ReplacementCharacter || s.at(0).unicode() < 0x80)
                continue;
            (*m_pairToUnicode)[(lead << 8) | trail] = s.at(0).unicode();
        }
    }

    // Several pairs can share a character (NEC and IBM rows); keep the pair the table encodes it to.
    for (int code = 0; code < 0x10000; ++code) {
        const char16_t c = (*m_pairToUnicode)[code];
        if (c == 0 || (*m_unicodeToCode)[c] != kNoCode)
            continue;
        const QByteArray bytes = encoder.encode(QString(QChar(c)));
        const bool ok = !encoder.hasError() && bytes.size() == 2;
        encoder.resetState();
        const quint16 preferred =
            ok ? quint16((quint8(bytes.at(0)) << 8) | quint8(bytes.at(1))) : quint16(code);
        (*m_unicodeToCode)[c] = (*m_pairToUnicode)[preferred] == c ? preferred : quint16(code);
    }

    // Input methods of this platform type these forms for code page characters (〜 is U+301C
    // here, U+FF5E on Windows); they go out as the characters they stand for, as Windows's own
    // conversion does, so one typed 〜 does not turn a whole file into UTF-8.
    for (const TypedForm& form : kTypedForms) {
        if ((*m_unicodeToCode)[form.unicode] == kNoCode && (*m_pairToUnicode)[form.code] == form.readBack)
            (*m_unicodeToCode)[form.unicode] = form.code;
    }
}

char16_t Cp932Table::readsBackAs(char16_t c)
{
    for (const TypedForm& form : kTypedForms) {
        if (form.unicode == c)
            return form.readBack;
    }
    return c;
}

quint16 Cp932Table::encode(char16_t c) const
{
    if (c < 0x80)
        return c;
    if (c >= 0xFF61 && c <= 0xFF9F)
        return quint16(0xA1 + (c - 0xFF61));
    if (c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF)
        return quint16(c - kEscapeBase);
    return (*m_unicodeToCode)[c];
}
