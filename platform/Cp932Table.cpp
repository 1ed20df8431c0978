#include "platform/Cp932Table.h"

#include <QStringDecoder>
#include <QStringEncoder>

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
