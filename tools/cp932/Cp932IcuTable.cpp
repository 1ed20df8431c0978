#include "tools/cp932/Cp932IcuTable.h"

#include "platform/Cp932Table.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {
struct TypedForm {
    char16_t unicode;
    quint16 code;
    char16_t readBack;
};
// Kept apart from the program's own list on purpose: a change there shows up against this one.
constexpr TypedForm kTypedForms[] = {
    {0x301C, 0x8160, 0xFF5E}, {0x2016, 0x8161, 0x2225}, {0x2212, 0x817C, 0xFF0D}, {0x00A2, 0x8191, 0xFFE0},
    {0x00A3, 0x8192, 0xFFE1}, {0x00AC, 0x81CA, 0xFFE2}, {0x2014, 0x815C, 0x2015}, {0x00A6, 0xFA55, 0xFFE4},
};
} // namespace

Cp932IcuTable::Cp932IcuTable() : m_pairToUnicode(0x10000, 0), m_unicodeToCode(0x10000, Cp932Table::kNoCode)
{
    QStringDecoder decoder("windows-31j", QStringDecoder::Flag::Stateless);
    QStringEncoder encoder("windows-31j", QStringEncoder::Flag::Stateless);
    if (!decoder.isValid() || !encoder.isValid())
        qFatal("Qt lacks the windows-31j codec (ICU)");

    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!Cp932Table::isLeadByte(static_cast<unsigned char>(lead)))
            continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (!Cp932Table::isTrailByte(static_cast<unsigned char>(trail)))
                continue;
            const char pair[2] = {char(lead), char(trail)};
            const QString s = decoder.decode(QByteArrayView(pair, 2));
            decoder.resetState();
            // ICU's swapped control characters and its one-byte fallbacks are no pairs.
            if (s.size() != 1 || s.at(0) == QChar::ReplacementCharacter || s.at(0).unicode() < 0x80)
                continue;
            m_pairToUnicode[(lead << 8) | trail] = s.at(0).unicode();
        }
    }

    // Several pairs can share a character (NEC and IBM rows); keep the pair ICU encodes it to.
    for (int code = 0; code < 0x10000; ++code) {
        const char16_t c = m_pairToUnicode[code];
        if (c == 0 || m_unicodeToCode[c] != Cp932Table::kNoCode)
            continue;
        const QByteArray bytes = encoder.encode(QString(QChar(c)));
        const bool ok = !encoder.hasError() && bytes.size() == 2;
        encoder.resetState();
        const quint16 preferred =
            ok ? quint16((quint8(bytes.at(0)) << 8) | quint8(bytes.at(1))) : quint16(code);
        m_unicodeToCode[c] = m_pairToUnicode[preferred] == c ? preferred : quint16(code);
    }

    for (const TypedForm& form : kTypedForms) {
        if (m_unicodeToCode[form.unicode] == Cp932Table::kNoCode &&
            m_pairToUnicode[form.code] == form.readBack)
            m_unicodeToCode[form.unicode] = form.code;
    }
}

char16_t Cp932IcuTable::decodePair(unsigned char lead, unsigned char trail) const
{
    return Cp932Table::isTrailByte(trail) ? m_pairToUnicode[(lead << 8) | trail] : 0;
}

quint16 Cp932IcuTable::encode(char16_t c) const
{
    if (c < 0x80)
        return c;
    if (c >= 0xFF61 && c <= 0xFF9F)
        return quint16(0xA1 + (c - 0xFF61));
    if (c >= Cp932Table::kEscapeBase + 0x80 && c <= Cp932Table::kEscapeBase + 0xFF)
        return quint16(c - Cp932Table::kEscapeBase);
    return m_unicodeToCode[c];
}
