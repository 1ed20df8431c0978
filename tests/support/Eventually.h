#pragma once

#include <QDeadlineTimer>
#include <QTest>

#include <gtest/gtest.h>

// Runs the event loop until `holds()` is true or `timeoutMs` have passed; the last answer.
// Qt's QTRY_ macros report to Qt's own test log and only return, which a gtest test never sees.
template <class Holds> bool eventually(Holds holds, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!holds()) {
        if (deadline.hasExpired())
            return holds();
        QTest::qWait(10);
    }
    return true;
}

// Waits as above, then asserts, so a failure shows both values.
#define ASSERT_EVENTUALLY_EQ(actual, expected, timeoutMs)                                                    \
    do {                                                                                                     \
        eventually([&] { return (actual) == (expected); }, (timeoutMs));                                     \
        ASSERT_EQ(actual, expected);                                                                         \
    } while (false)

#define ASSERT_EVENTUALLY(condition, timeoutMs)                                                              \
    do {                                                                                                     \
        eventually([&] { return bool(condition); }, (timeoutMs));                                            \
        ASSERT_TRUE(condition);                                                                              \
    } while (false)
