#include "settings/ColorNames.h"

#include "settings/ValueText.h"

#include "platform/Failure.h"

namespace {

struct ColorName {
    quint32 value;
    const char16_t* name;
};

constexpr ColorName kColorNames[] = {
    {0x00000000, u"clBlack"},
    {0x00000080, u"clMaroon"},
    {0x00008000, u"clGreen"},
    {0x00008080, u"clOlive"},
    {0x00800000, u"clNavy"},
    {0x00800080, u"clPurple"},
    {0x00808000, u"clTeal"},
    {0x00808080, u"clGray"},
    {0x00C0C0C0, u"clSilver"},
    {0x000000FF, u"clRed"},
    {0x0000FF00, u"clLime"},
    {0x0000FFFF, u"clYellow"},
    {0x00FF0000, u"clBlue"},
    {0x00FF00FF, u"clFuchsia"},
    {0x00FFFF00, u"clAqua"},
    {0x00FFFFFF, u"clWhite"},
    {0x00C0DCC0, u"clMoneyGreen"},
    {0x00F0CAA6, u"clSkyBlue"},
    {0x00F0FBFF, u"clCream"},
    {0x00A4A0A0, u"clMedGray"},
    {0x80000000, u"clScrollBar"},
    {0x80000015, u"cl3DDkShadow"},
    {0x80000016, u"cl3DLight"},
    {0x80000005, u"clWindow"},
    {0x80000008, u"clWindowText"},
    {0x8000000A, u"clActiveBorder"},
    {0x80000002, u"clActiveCaption"},
    {0x8000000C, u"clAppWorkSpace"},
    {0x80000001, u"clBackground"},
    {0x8000000F, u"clBtnFace"},
    {0x80000014, u"clBtnHighlight"},
    {0x80000010, u"clBtnShadow"},
    {0x80000012, u"clBtnText"},
    {0x80000009, u"clCaptionText"},
    {0x20000000, u"clDefault"},
    {0x8000001B, u"clGradientActiveCaption"},
    {0x8000001C, u"clGradientInactiveCaption"},
    {0x80000011, u"clGrayText"},
    {0x8000000D, u"clHighlight"},
    {0x8000000E, u"clHighlightText"},
    {0x8000000B, u"clInactiveBorder"},
    {0x80000003, u"clInactiveCaption"},
    {0x80000013, u"clInactiveCaptionText"},
    {0x80000018, u"clInfoBk"},
    {0x80000017, u"clInfoText"},
    {0x80000004, u"clMenu"},
    {0x80000007, u"clMenuText"},
    {0x1FFFFFFF, u"clNone"},
    {0x80000006, u"clWindowFrame"},
};

} // namespace

std::optional<QString> ColorToIdent(TColor color)
{
    for (const ColorName& entry : kColorNames)
        if (entry.value == static_cast<quint32>(color))
            return QStringView(entry.name).toString();
    return std::nullopt;
}

std::optional<TColor> IdentToColor(QStringView ident)
{
    for (const ColorName& entry : kColorNames)
        if (SameTextAscii(ident, QStringView(entry.name)))
            return static_cast<TColor>(entry.value);
    return std::nullopt;
}

QString ColorToString(TColor color)
{
    if (const std::optional<QString> name = ColorToIdent(color))
        return *name;
    return QStringLiteral("$%1").arg(static_cast<quint32>(color), 8, 16, QLatin1Char('0')).toUpper();
}

TColor StringToColor(const QString& text)
{
    if (const std::optional<TColor> color = IdentToColor(text))
        return *color;
    if (const std::optional<qint32> number = ParseInteger(text))
        return *number;
    throw EConvertError(formatMessage(QStringLiteral("'%s' は整数ではありません"), text));
}
