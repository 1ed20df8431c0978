#include "controls/model/TrayActivation.h"

#include "RecordingNotificationArea.h"
#include "controls/TrayIcon.h"

#include <QPixmap>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace {

using NA = NotificationArea;
using Reason = TrayActivation::Reason;
using Messages = QList<quint32>;

constexpr int kDoubleClickTime = 400;

// One activation as a tray reported it: what and when (milliseconds).
struct Recorded {
    Reason reason;
    qint64 at;
};

Messages replay(const std::vector<Recorded>& activations, int doubleClickTime = kDoubleClickTime)
{
    TrayActivation translate;
    Messages all;
    for (const Recorded& a : activations)
        all += translate.messages(a.reason, a.at, doubleClickTime);
    return all;
}

const Messages kClick{NA::wmLButtonDown, NA::wmLButtonUp};
const Messages kDouble{NA::wmLButtonDown, NA::wmLButtonUp, NA::wmLButtonDblClk, NA::wmLButtonUp};

struct SequenceCase {
    const char* name;
    std::vector<Recorded> activations;
    Messages expected;
};

class TrayActivations : public ::testing::TestWithParam<SequenceCase> {};

TEST_P(TrayActivations, becomeTheMouseMessagesOfTheNotificationArea)
{
    EXPECT_EQ(replay(GetParam().activations), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    TrayActivation, TrayActivations,
    ::testing::Values(
        SequenceCase{"lonelyClick", {{Reason::Click, 1000}}, kClick},
        // A StatusNotifierItem tray: two clicks, no double click of its own.
        SequenceCase{
            "twoClicksWithinTheTimeAreADoubleClick", {{Reason::Click, 1000}, {Reason::Click, 1250}}, kDouble},
        SequenceCase{"secondClickAtTheLimitStillCounts", {{Reason::Click, 0}, {Reason::Click, 400}}, kDouble},
        // An XEmbed tray reports the double click itself, after the first click.
        SequenceCase{"clickThenDoubleClickStaysADoubleClick",
                     {{Reason::Click, 1000}, {Reason::DoubleClick, 1150}},
                     kDouble},
        SequenceCase{
            "clicksFartherApartStaySingle", {{Reason::Click, 1000}, {Reason::Click, 1401}}, kClick + kClick},
        SequenceCase{"thirdClickStartsAFreshClick",
                     {{Reason::Click, 0}, {Reason::Click, 100}, {Reason::Click, 200}},
                     kDouble + kClick},
        SequenceCase{"afterAReportedDoubleClickTheNextClickIsSingle",
                     {{Reason::Click, 0}, {Reason::DoubleClick, 100}, {Reason::Click, 200}},
                     kDouble + kClick},
        SequenceCase{"rightClickBetweenBreaksThePair",
                     {{Reason::Click, 0}, {Reason::Context, 100}, {Reason::Click, 200}},
                     kClick + Messages{NA::wmRButtonDown, NA::wmRButtonUp} + kClick},
        SequenceCase{"middleClick", {{Reason::Middle, 0}}, Messages{NA::wmMButtonDown, NA::wmMButtonUp}},
        SequenceCase{"unknownSaysNothingAndBreaksThePair",
                     {{Reason::Click, 0}, {Reason::Unknown, 50}, {Reason::Click, 100}},
                     kClick + kClick},
        SequenceCase{"clockGoingBackIsNoDoubleClick",
                     {{Reason::Click, 5000}, {Reason::Click, 4900}},
                     kClick + kClick}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TrayActivation, theDoubleClickTimeInForceDecides)
{
    EXPECT_EQ(replay({{Reason::Click, 0}, {Reason::Click, 300}}, 250), kClick + kClick);
    EXPECT_EQ(replay({{Reason::Click, 0}, {Reason::Click, 300}}, 500), kDouble);
}

// The same recorded double click, from either kind of tray, reaches the icon as one double
// click and no single click: a restore that happens at once and once only.
TEST(TrayActivation, doubleClickOnEitherTrayFiresOnDblClickOnceAndOnClickNever)
{
    const std::vector<std::vector<Recorded>> trays = {
        {{Reason::Click, 10}, {Reason::Click, 180}},       // StatusNotifierItem
        {{Reason::Click, 10}, {Reason::DoubleClick, 180}}, // XEmbed
    };
    for (const auto& recorded : trays) {
        RecordingNotificationArea area;
        area.doubleClickMs = 60;
        TTrayIcon tray(area);
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::blue);
        tray.setIcon(QIcon(pixmap));
        tray.setVisible(true);
        int clicks = 0;
        int doubles = 0;
        tray.OnClick = [&clicks](TTrayIcon&) { ++clicks; };
        tray.OnDblClick = [&doubles](TTrayIcon&) { ++doubles; };

        TrayActivation translate;
        for (const Recorded& a : recorded) {
            for (const quint32 message : translate.messages(a.reason, a.at, kDoubleClickTime))
                area.send(tray.IconID(), {message});
        }
        EXPECT_EQ(doubles, 1);
        ASSERT_TRUE(QTest::qWaitFor([&tray] { return tray.findChildren<TSingleClick*>().isEmpty(); }, 5000));
        EXPECT_EQ(clicks, 0);
        EXPECT_EQ(doubles, 1);
    }
}

} // namespace
