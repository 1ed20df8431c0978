#include "platform/CloseSignals.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>

namespace {

int g_previousCalls = 0;
extern "C" void previousHandler(int)
{
    ++g_previousCalls;
}

TEST(CloseSignals, eachSignalBecomesOneRequestInTheEventLoop)
{
    for (int number : {SIGTERM, SIGHUP, SIGINT}) {
        CloseSignals signals;
        ASSERT_TRUE(signals.isActive());
        QSignalSpy spy(&signals, &CloseSignals::closeRequested);
        ASSERT_EQ(::raise(number), 0);
        // Nothing happens inside the handler: the request waits for the loop.
        EXPECT_EQ(spy.count(), 0);
        ASSERT_TRUE(spy.wait(2000)) << number;
        EXPECT_EQ(spy.takeFirst().at(0).toInt(), number);
    }
}

TEST(CloseSignals, signalsBeforeTheLoopRunsAreOneRequest)
{
    CloseSignals signals;
    QSignalSpy spy(&signals, &CloseSignals::closeRequested);
    ::raise(SIGTERM);
    ::raise(SIGHUP);
    ASSERT_TRUE(spy.wait(2000));
    QTest::qWait(50);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), SIGHUP);
}

TEST(CloseSignals, previousHandlerComesBackAfterwards)
{
    struct sigaction action {};
    action.sa_handler = previousHandler;
    sigemptyset(&action.sa_mask);
    struct sigaction saved {};
    ASSERT_EQ(::sigaction(SIGHUP, &action, &saved), 0);
    {
        CloseSignals signals;
        QSignalSpy spy(&signals, &CloseSignals::closeRequested);
        ::raise(SIGHUP);
        EXPECT_TRUE(spy.wait(2000));
        EXPECT_EQ(g_previousCalls, 0);
    }
    ::raise(SIGHUP);
    EXPECT_EQ(g_previousCalls, 1);
    ::sigaction(SIGHUP, &saved, nullptr);
}

} // namespace
