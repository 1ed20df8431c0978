#include "app/QuavApplication.h"
#include "platform/Failure.h"

#include "support/RecordingMessageService.h"

#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

RecordingMessageService* g_messages = nullptr;

// Throws from its mouse handler, as any command handler of the program may.
class ThrowingWidget final : public QWidget {
public:
    int presses = 0;
    bool throwStd = false;

protected:
    void mousePressEvent(QMouseEvent*) override
    {
        ++presses;
        if (throwStd)
            throw std::runtime_error("plain failure");
        throw EInOutError(QStringLiteral("ファイル x を開けません。"));
    }
};

TEST(QuavApplication, uncaughtFailureIsReportedAndLoopGoesOn)
{
    g_messages->clear();
    ThrowingWidget w;
    w.resize(100, 100);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));

    QTest::mouseClick(&w, Qt::LeftButton);
    QTest::mouseClick(&w, Qt::LeftButton);
    EXPECT_EQ(w.presses, 2);
    ASSERT_EQ(g_messages->shown().size(), 2);
    const auto& box = g_messages->shown().first();
    EXPECT_EQ(box.text, QStringLiteral("ファイル x を開けません。"));
    EXPECT_EQ(box.caption, QStringLiteral("QuavScheduler"));
    EXPECT_EQ(box.icon, MessageService::Icon::Error);
    EXPECT_EQ(box.buttons, MessageService::Buttons::Ok);
}

TEST(QuavApplication, standardExceptionsAreReportedToo)
{
    g_messages->clear();
    ThrowingWidget w;
    w.throwStd = true;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QTest::mouseClick(&w, Qt::LeftButton);
    EXPECT_EQ(g_messages->texts(), QStringList{QStringLiteral("plain failure")});
}

TEST(QuavApplication, postedEventFailureDoesNotStopLaterEvents)
{
    g_messages->clear();
    ThrowingWidget w;
    int after = 0;
    QMetaObject::invokeMethod(
        &w, [] { throw EConvertError(QStringLiteral("'x' は整数ではありません")); }, Qt::QueuedConnection);
    QMetaObject::invokeMethod(
        &w, [&after] { ++after; }, Qt::QueuedConnection);
    QCoreApplication::processEvents();
    EXPECT_EQ(after, 1);
    EXPECT_EQ(g_messages->count(QStringLiteral("'x' は整数ではありません")), 1);
}

} // namespace

int main(int argc, char** argv)
{
    RecordingMessageService messages;
    g_messages = &messages;
    QuavApplication app(argc, argv, &messages);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
