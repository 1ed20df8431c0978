#include "mainwindow/FontConvert.h"

#include <QStringList>

namespace FontConvert {

QFont toQFont(const TFont& font)
{
    QFont out(font.Name);
    out.setPointSize(font.Size > 0 ? font.Size : 9);
    out.setBold(font.Style & fsBold);
    out.setItalic(font.Style & fsItalic);
    out.setUnderline(font.Style & fsUnderline);
    out.setStrikeOut(font.Style & fsStrikeOut);
    return out;
}

QColor toQColor(quint32 color)
{
    if (color & 0xFF000000u)
        return {};
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

TFont defaultMemoFont()
{
    TFont font;
    font.Name = QStringLiteral("ＭＳ ゴシック");
    font.Size = 9; // 12 pixels at 96 dots per inch
    font.Charset = SHIFTJIS_CHARSET;
    return font;
}

void registerSubstitutions()
{
    const QStringList mono = {QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("Noto Sans CJK JP"),
                              QStringLiteral("IPAGothic"), QStringLiteral("monospace")};
    const QStringList proportional = {QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAPGothic"),
                                      QStringLiteral("sans-serif")};
    for (const char16_t* name : {u"ＭＳ ゴシック", u"MS Gothic", u"ＭＳ 明朝", u"MS Mincho"})
        QFont::insertSubstitutions(QString::fromUtf16(name), mono);
    for (const char16_t* name : {u"ＭＳ Ｐゴシック", u"MS PGothic", u"ＭＳ Ｐ明朝", u"MS PMincho",
                                 u"MS UI Gothic", u"MS Sans Serif"})
        QFont::insertSubstitutions(QString::fromUtf16(name), proportional);
}

} // namespace FontConvert
