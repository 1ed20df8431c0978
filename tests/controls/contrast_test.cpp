#include "controls/model/Contrast.h"

#include <gtest/gtest.h>

namespace {

TEST(Contrast, ratiosOfKnownPairs)
{
    EXPECT_NEAR(Contrast::ratio(0x000000, 0xFFFFFF), 21.0, 1e-9);
    EXPECT_NEAR(Contrast::ratio(0xFFFFFF, 0x000000), 21.0, 1e-9);
    EXPECT_NEAR(Contrast::ratio(0x777777, 0x777777), 1.0, 1e-9);
    // The usual reference values: pure red on white, mid grey on white.
    EXPECT_NEAR(Contrast::ratio(0xFF0000, 0xFFFFFF), 4.0, 0.01);
    EXPECT_NEAR(Contrast::ratio(0x767676, 0xFFFFFF), 4.54, 0.01);
    // Bits above the colour are no part of it.
    EXPECT_NEAR(Contrast::ratio(0xFF000000, 0xFFFFFF), 21.0, 1e-9);
}

struct InkCase {
    const char* name;
    quint32 fill;
    quint32 wanted;
};

class ReadableOn : public ::testing::TestWithParam<InkCase> {};

TEST_P(ReadableOn, alwaysReachesTheTextRatio)
{
    const InkCase& c = GetParam();
    const quint32 ink = Contrast::readableOn(c.fill, c.wanted);
    EXPECT_GE(Contrast::ratio(c.fill, ink), Contrast::kMinTextRatio);
    if (Contrast::ratio(c.fill, c.wanted) >= Contrast::kMinTextRatio) {
        EXPECT_EQ(ink, c.wanted);
    }
}

INSTANTIATE_TEST_SUITE_P(Contrast, ReadableOn,
                         ::testing::Values(InkCase{"lightTextOnPaleMarkup", 0xE4F9DF, 0xEEEEEC},
                                           InkCase{"whiteOnSunday", 0xFFD0D0, 0xFFFFFF},
                                           InkCase{"whiteOnSkyBlue", 0xA6CAF0, 0xFFFFFF},
                                           InkCase{"blackOnPaleStaysBlack", 0xE4F9DF, 0x000000},
                                           InkCase{"redOnDarkBase", 0x2D2D2D, 0xFF0000},
                                           InkCase{"redOnWhite", 0xFFFFFF, 0xFF0000},
                                           InkCase{"sameAsTheFill", 0x808080, 0x808080},
                                           InkCase{"midGreyFill", 0x777777, 0x787878},
                                           InkCase{"darkGreenMarkupWithWhite", 0x54DE73, 0xFFFFFF}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Contrast, movedInkKeepsItsHueWhereItCan)
{
    // Red on a dark base turns a lighter red, not white.
    const quint32 ink = Contrast::readableOn(0x2D2D2D, 0xFF0000);
    const int r = int(ink >> 16) & 0xFF, g = int(ink >> 8) & 0xFF, b = int(ink) & 0xFF;
    EXPECT_EQ(r, 0xFF);
    EXPECT_GT(g, 0);
    EXPECT_LT(g, 0xC0);
    EXPECT_EQ(g, b);
}

TEST(Contrast, linesNeedLessThanText)
{
    // A line in the base's own shade is made out; one already visible is left alone.
    const quint32 line = Contrast::readableOn(0x2D2D2D, 0x2D2D2D, Contrast::kMinLineRatio);
    EXPECT_GE(Contrast::ratio(0x2D2D2D, line), Contrast::kMinLineRatio);
    EXPECT_LT(Contrast::ratio(0x2D2D2D, line), Contrast::kMinTextRatio);
    EXPECT_EQ(Contrast::readableOn(0xFFFFFF, 0xC0C0C0, Contrast::kMinLineRatio), 0xC0C0C0u);
}

} // namespace
