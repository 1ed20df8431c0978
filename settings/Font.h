#pragma once

#include <QString>
#include <QtGlobal>

// 0x00BBGGRR; values from 0x80000000 up name a system colour (index in the low byte).
using TColor = qint32;

constexpr TColor clWindowText = static_cast<TColor>(0x80000008u);

// Style bits of TFont::Style.
enum TFontStyle : quint8 { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

constexpr quint8 DEFAULT_CHARSET = 1;
constexpr quint8 SHIFTJIS_CHARSET = 128;

// The font as the settings store it, free of any toolkit; the windows convert it to their own.
struct TFont {
    QString Name = QStringLiteral("MS Sans Serif");
    int Size = 8; // points
    TColor Color = clWindowText;
    quint8 Style = 0; // TFontStyle bits
    quint8 Charset = DEFAULT_CHARSET;

    bool operator==(const TFont&) const = default;
};
