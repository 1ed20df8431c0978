#include "settings/ColorNames.h"
#include "settings/ValueText.h"

#include "platform/Failure.h"

#include <gtest/gtest.h>

namespace {

struct IntegerCase {
    const char16_t* text;
    std::optional<qint32> expected;
};

TEST(ParseInteger, acceptsWholeDecimalOrDollarHexOnly)
{
    const IntegerCase cases[] = {
        {u"0", 0},
        {u"31", 31},
        {u"+7", 7},
        {u"-2147483648", std::numeric_limits<qint32>::min()},
        {u"2147483647", std::numeric_limits<qint32>::max()},
        {u"$1F", 31},
        {u"$1f", 31},
        {u"$FFFFFFFF", -1},
        {u"$80000008", static_cast<qint32>(0x80000008u)},
        {u"$000000000A", 10},
        {u"2147483648", std::nullopt},
        {u"-2147483649", std::nullopt},
        {u"$100000000", std::nullopt},
        {u"", std::nullopt},
        {u"-", std::nullopt},
        {u"$", std::nullopt},
        {u"-$1F", std::nullopt},
        {u"0x1F", std::nullopt},
        {u"12ab", std::nullopt},
        {u" 12", std::nullopt},
        {u"12 ", std::nullopt},
        {u"１２", std::nullopt}, // full-width digits are no number here
    };
    for (const IntegerCase& c : cases)
        EXPECT_EQ(ParseInteger(QStringView(c.text)), c.expected)
            << QStringView(c.text).toString().toStdString();
    EXPECT_EQ(IntegerOr(u"junk", 9), 9);
}

TEST(SameTextAscii, foldsOnlyAsciiLetters)
{
    EXPECT_TRUE(SameTextAscii(u"yes", u"YES"));
    EXPECT_FALSE(SameTextAscii(u"ｙｅｓ", u"YES"));
    EXPECT_FALSE(SameTextAscii(u"yeſ", u"YES")); // long s upper-cases to S in Unicode
    EXPECT_FALSE(SameTextAscii(u"ye", u"YES"));
}

TEST(ColorNames, namesWinOverHexAndReadIgnoringAsciiCase)
{
    EXPECT_EQ(ColorToString(static_cast<TColor>(0x80000008u)), QStringLiteral("clWindowText"));
    EXPECT_EQ(ColorToString(0x000000FF), QStringLiteral("clRed"));
    EXPECT_EQ(ColorToString(0x00FFFF80), QStringLiteral("$00FFFF80"));
    EXPECT_EQ(ColorToString(static_cast<TColor>(0xFFFFFFFFu)), QStringLiteral("$FFFFFFFF"));
    EXPECT_EQ(ColorToString(0x1FFFFFFF), QStringLiteral("clNone"));
    EXPECT_EQ(ColorToString(0x20000000), QStringLiteral("clDefault"));

    EXPECT_EQ(StringToColor(QStringLiteral("clred")), 0x000000FF);
    EXPECT_EQ(StringToColor(QStringLiteral("CL3DDKSHADOW")), static_cast<TColor>(0x80000015u));
    EXPECT_EQ(StringToColor(QStringLiteral("$00FFFF80")), 0x00FFFF80);
    EXPECT_EQ(StringToColor(QStringLiteral("16636124")), 16636124);
    EXPECT_FALSE(IdentToColor(u"cl3DD\u212AShadow").has_value()); // Kelvin sign folds to k in Unicode only

    for (const char16_t* bad : {u"red", u"", u"clRed "}) {
        try {
            StringToColor(QStringView(bad).toString());
            ADD_FAILURE() << "no error for " << QStringView(bad).toString().toStdString();
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.message(), QStringLiteral("'%1' は整数ではありません").arg(QStringView(bad)));
        }
    }
}

} // namespace
