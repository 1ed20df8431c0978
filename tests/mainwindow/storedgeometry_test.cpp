#include "MainFormFixture.h"

#include "controls/jvStringGrid.h"
#include "schedule/StoredGeometry.h"
#include "platform/ProfileFile.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

using StoredGeometry::onScreen;
using StoredGeometry::storedFrame;

const QRect kLeftScreen(0, 0, 1920, 1040);
const QRect kRightScreen(1920, 0, 1280, 1024);

struct PlaceCase {
    const char* name;
    QRect stored;
    QRect expected;
};

class Placement : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(Placement, windowEndsWhereTheUserCanReachIt)
{
    const PlaceCase& c = GetParam();
    EXPECT_EQ(onScreen(c.stored, {kLeftScreen, kRightScreen}), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    TwoScreens, Placement,
    ::testing::Values(
        PlaceCase{"onTheFirst", QRect(100, 100, 617, 461), QRect(100, 100, 617, 461)},
        PlaceCase{"onTheSecond", QRect(2000, 300, 617, 461), QRect(2000, 300, 617, 461)},
        // Partly off a screen but with its top edge in reach: the user put it there.
        PlaceCase{"hangingOverTheEdge", QRect(1800, 900, 617, 461), QRect(1800, 900, 617, 461)},
        PlaceCase{"farBelow", QRect(100, 99999, 617, 461), QRect(100, 1040 - 461, 617, 461)},
        PlaceCase{"farRight", QRect(99999, 50, 617, 461), QRect(3200 - 617, 50, 617, 461)},
        PlaceCase{"aboveTheTop", QRect(500, -400, 617, 461), QRect(500, 0, 617, 461)},
        PlaceCase{"titleBarJustOff", QRect(500, -10, 617, 461), QRect(500, 0, 617, 461)},
        PlaceCase{"belowTheShorterScreen", QRect(2500, 1030, 617, 461), QRect(2500, 1024 - 461, 617, 461)},
        PlaceCase{"largerThanAnyScreen", QRect(-5000, -5000, 4000, 3000), QRect(0, 0, 1920, 1040)}),
    [](const auto& info) { return std::string(info.param.name); });

// The three-month view takes the place only and keeps its size: the top-left it is moved to.
TEST(Placement, threeMonthViewKeepsReachableWindowsAndBringsLostOnesBack)
{
    const QRect primary(0, 0, 1920, 1050);  // task bar below
    const QRect right(1920, 0, 1280, 1024); // a second screen to the right
    struct Case {
        const char* name;
        QRect frame;
        QList<QRect> screens;
        QPoint expected;
    };
    const Case cases[] = {
        {"on the screen", {207, 140, 695, 480}, {primary}, {207, 140}},
        {"mostly off, title strip still grabbable", {1800, 900, 695, 480}, {primary}, {1800, 900}},
        {"on the second screen", {2500, 300, 695, 480}, {primary, right}, {2500, 300}},
        {"second screen gone", {2500, 300, 695, 480}, {primary}, {1920 - 695, 300}},
        {"far away", {-20000, 30000, 695, 480}, {primary}, {0, 1050 - 480}},
        {"title above the top edge", {300, -400, 695, 480}, {primary}, {300, 0}},
        {"only a sliver of the title left", {1900, 100, 695, 480}, {primary}, {1920 - 695, 100}},
        // Half the title strip is not enough to grab it by.
        {"title strip half off the top", {300, -10, 695, 480}, {primary}, {300, 0}},
        {"larger than the screen", {-3000, -3000, 2500, 1400}, {primary}, {0, 0}},
        {"overlapping the second screen most",
         {3150, 1015, 695, 480},
         {primary, right},
         {3200 - 695, 1024 - 480}},
        // Touching both screens: it goes where most of it already is, the shorter way.
        {"over both screens, title off the top", {1900, -15, 695, 480}, {primary, right}, {1920, 0}},
        {"no screens known", {-20000, 0, 695, 480}, {}, {-20000, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(onScreen(c.frame, c.screens).topLeft(), c.expected) << c.name;
}

TEST(Placement, extremeStoredValuesStayInRange)
{
    const QRect frame = storedFrame(INT_MAX, INT_MIN, QSize(617, 461));
    const QRect placed = onScreen(frame, {kLeftScreen});
    EXPECT_TRUE(kLeftScreen.contains(placed)) << placed.x() << "," << placed.y();
    EXPECT_EQ(onScreen(QRect(99999, 0, 10, 10), {}), QRect(99999, 0, 10, 10));
}

TEST(Placement, sizesBelowAUsableMinimumAreRaised)
{
    EXPECT_EQ(StoredGeometry::usableSize(QSize(0, -5)), QSize(320, 240));
    EXPECT_EQ(StoredGeometry::usableSize(QSize(617, 461)), QSize(617, 461));
    EXPECT_EQ(StoredGeometry::usableColWidth(0), 16);
    EXPECT_EQ(StoredGeometry::usableColWidth(-20), 16);
    EXPECT_EQ(StoredGeometry::usableColWidth(50), 50);
    EXPECT_EQ(StoredGeometry::usablePane(-1), 40);
}

class StoredGeometryTest : public MainFormFixture {};

TEST_F(StoredGeometryTest, windowOffEveryScreenAndHiddenColumnsComeBack)
{
    for (const auto& [key, value] : {std::pair{"Top", "99999"}, std::pair{"Left", "99999"},
                                     std::pair{"Width", "5"}, std::pair{"Height", "0"}}) {
        ProfileFile::put(ini(), QStringLiteral("Pos"), QLatin1String(key), QLatin1String(value));
    }
    ProfileFile::putInt(ini(), QStringLiteral("Sheet"), QStringLiteral("ColWidth1"), 0);
    ProfileFile::putInt(ini(), QStringLiteral("Sheet"), QStringLiteral("ColWidth2"), -30);
    ProfileFile::putInt(ini(), QStringLiteral("Sheet"), QStringLiteral("ColWidth3"), 80);
    TMainForm& f = start();
    EXPECT_GE(f.width(), StoredGeometry::kMinWidth);
    EXPECT_GE(f.height(), StoredGeometry::kMinHeight);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.intersects(f.frameGeometry())) << f.x() << "," << f.y();
    EXPECT_GE(grid(f)->ColWidths(1), StoredGeometry::kMinColWidth);
    EXPECT_GE(grid(f)->ColWidths(2), StoredGeometry::kMinColWidth);
    EXPECT_EQ(grid(f)->ColWidths(3), 80);
}

} // namespace
