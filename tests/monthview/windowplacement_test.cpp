#include "monthview/WindowPlacement.h"

#include <gtest/gtest.h>

namespace {

const QRect kPrimary(0, 0, 1920, 1050);  // task bar below
const QRect kRight(1920, 0, 1280, 1024); // a second screen to the right

struct PlacementCase {
    const char* name;
    QRect frame;
    QList<QRect> screens;
    QPoint expected;
};

TEST(WindowPlacementTest, keepsReachableWindowsAndBringsLostOnesBack)
{
    const PlacementCase cases[] = {
        {"on the screen", {207, 140, 695, 480}, {kPrimary}, {207, 140}},
        {"mostly off, title strip still grabbable", {1800, 900, 695, 480}, {kPrimary}, {1800, 900}},
        {"on the second screen", {2500, 300, 695, 480}, {kPrimary, kRight}, {2500, 300}},
        {"second screen gone", {2500, 300, 695, 480}, {kPrimary}, {1920 - 695, 300}},
        {"far away", {-20000, 30000, 695, 480}, {kPrimary}, {0, 1050 - 480}},
        {"title above the top edge", {300, -400, 695, 480}, {kPrimary}, {300, 0}},
        {"only a sliver of the title left", {1900, 100, 695, 480}, {kPrimary}, {1920 - 695, 100}},
        {"larger than the screen", {-3000, -3000, 2500, 1400}, {kPrimary}, {0, 0}},
        {"overlapping the second screen most",
         {3150, 1015, 695, 480},
         {kPrimary, kRight},
         {3200 - 695, 1024 - 480}},
        {"no screens known", {-20000, 0, 695, 480}, {}, {-20000, 0}},
    };
    for (const PlacementCase& c : cases)
        EXPECT_EQ(WindowPlacement::ontoScreens(c.frame, c.screens), c.expected) << c.name;
}

} // namespace
