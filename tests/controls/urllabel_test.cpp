#include "controls/URLLabel.h"

#include "support/PaintEvents.h"
#include "support/RecordingUrlOpener.h"

#include <QEnterEvent>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QColor kGreen(0, 128, 0);
const QColor kLime(0, 255, 0);
const QColor kRed(255, 0, 0);

class URLLabelTest : public ::testing::Test {
protected:
    RecordingUrlOpener opener;
    TURLLabel label;

    // Set up as the about box's mail link.
    void SetUp() override
    {
        label.setText(QStringLiteral("mailto:someone@example.org"));
        label.setFontColor(kGreen);
        label.setHotColor(kLime);
        label.setExecutable(true);
        label.setOpener(&opener);
        label.resize(120, 14);
    }

    void enter()
    {
        QEnterEvent event(QPointF(5, 5), QPointF(5, 5), label.mapToGlobal(QPointF(5, 5)));
        QCoreApplication::sendEvent(&label, &event);
    }
    void leave()
    {
        QEvent event(QEvent::Leave);
        QCoreApplication::sendEvent(&label, &event);
    }
    void press(Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mousePress(&label, button, {}, QPoint(5, 5));
    }
    void release(QPoint at, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseRelease(&label, button, {}, at);
    }
};

TEST_F(URLLabelTest, colourFollowsHoverPressAndRelease)
{
    enter();
    EXPECT_EQ(label.FontColor(), kLime);
    EXPECT_EQ(label.NormalColor(), kGreen);
    press();
    EXPECT_EQ(label.FontColor(), kRed);
    release(QPoint(5, 5));
    EXPECT_EQ(label.FontColor(), kLime);
    leave();
    EXPECT_EQ(label.FontColor(), kGreen);
    EXPECT_EQ(TURLLabel().NormalColor(), QColor(Qt::black)); // before any enter
}

TEST_F(URLLabelTest, releaseAfterDraggingOffGivesNormalColour)
{
    enter();
    press();
    release(QPoint(label.width() + 10, 5));
    EXPECT_EQ(label.FontColor(), kGreen);
    leave();
    EXPECT_EQ(label.FontColor(), kGreen);
}

TEST_F(URLLabelTest, anyButtonOpensTheCaption)
{
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
        opener.opened.clear();
        enter();
        press(button);
        release(QPoint(5, 5), button);
        leave();
        EXPECT_EQ(opener.opened, QStringList{label.text()}) << int(button);
    }
}

TEST_F(URLLabelTest, notExecutableChangesColourButOpensNothing)
{
    label.setExecutable(false);
    enter();
    press();
    EXPECT_EQ(label.FontColor(), kRed);
    release(QPoint(5, 5));
    EXPECT_TRUE(opener.opened.isEmpty());
}

TEST_F(URLLabelTest, withoutHotTrackOpensWithoutColourChange)
{
    label.setHotTrack(false);
    enter();
    EXPECT_EQ(label.FontColor(), kGreen);
    press();
    EXPECT_EQ(label.FontColor(), kGreen);
    release(QPoint(5, 5));
    leave();
    EXPECT_EQ(label.FontColor(), kGreen);
    EXPECT_EQ(opener.opened.size(), 1);
}

TEST_F(URLLabelTest, writingTheCurrentValueDoesNotRepaint)
{
    label.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&label));
    PaintCounter counter;
    label.installEventFilter(&counter);
    QCoreApplication::processEvents();
    counter.paints = 0;

    label.setHotColor(kLime);
    label.setPushedColor(kRed);
    label.setHotTrack(true);
    QCoreApplication::processEvents();
    EXPECT_EQ(counter.paints, 0);

    label.setHotColor(QColor(1, 2, 3));
    QCoreApplication::processEvents();
    EXPECT_GE(counter.paints, 1);
    EXPECT_EQ(label.HotColor(), QColor(1, 2, 3));
}

} // namespace
