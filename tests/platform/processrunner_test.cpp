#include "platform/ProcessRunner.h"

#include "support/TempFolder.h"

#include <QFile>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

QString script(const TempFolder& dir, const QString& name, const QByteArray& body)
{
    dir.write(name, "#!/bin/sh\n" + body);
    QFile::setPermissions(dir.file(name), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return dir.file(name);
}

TEST(ProcessRunner, runsProgramWithOneArgumentAndWaitsForItsEnd)
{
    TempFolder dir;
    const QString program =
        script(dir, QStringLiteral("edit.sh"), "sleep 0.2; echo \"$#:$1\" > \"$1.out\"\n");
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
    timer.start(20);
    const QString arg = dir.file(QStringLiteral("work file.txt"));
    ASSERT_TRUE(ProcessRunner::runAndWait(program, {arg}));
    EXPECT_EQ(dir.read(QStringLiteral("work file.txt.out")), (QStringLiteral("1:") + arg + u'\n').toUtf8());
    EXPECT_GT(ticks, 2) << "the event loop must keep running while waiting";
}

TEST(ProcessRunner, pathWithBlanksStartsDirectly)
{
    TempFolder dir;
    const QString program = script(dir, QStringLiteral("my editor.sh"), "touch \"$1\"\n");
    ASSERT_TRUE(ProcessRunner::runAndWait(program, {dir.file(QStringLiteral("x"))}));
    EXPECT_TRUE(dir.exists(QStringLiteral("x")));
}

TEST(ProcessRunner, programsThatCannotStartAreReported)
{
    TempFolder dir;
    EXPECT_FALSE(ProcessRunner::runAndWait(dir.file(QStringLiteral("missing")), {}));
    EXPECT_FALSE(ProcessRunner::runAndWait(QString(), {}));
    dir.write(QStringLiteral("plain.txt"), "not a program");
    EXPECT_FALSE(ProcessRunner::runAndWait(dir.file(QStringLiteral("plain.txt")), {}));
    // No search path: a bare name is looked for in the current folder only.
    EXPECT_FALSE(
        ProcessRunner::runAndWait(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("true")}));
}

TEST(ProcessRunner, failingProgramStillCountsAsStarted)
{
    TempFolder dir;
    EXPECT_TRUE(ProcessRunner::runAndWait(script(dir, QStringLiteral("fail.sh"), "exit 3\n"), {}));
}

} // namespace

namespace {

TEST(ProcessRunner, givingUpTheWaitLeavesTheProgramRunning)
{
    TempFolder dir;
    const QString program = script(dir, QStringLiteral("slow.sh"), "sleep 0.4; echo done > \"$1\"\n");
    QTimer::singleShot(100, [] { ProcessRunner::stopWaiting(); });
    const QString out = dir.file(QStringLiteral("out.txt"));
    EXPECT_EQ(ProcessRunner::run(program, {out}), ProcessRunner::Outcome::LeftRunning);
    EXPECT_FALSE(dir.exists(QStringLiteral("out.txt")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return dir.exists(QStringLiteral("out.txt")); }, 10000));
    EXPECT_EQ(dir.read(QStringLiteral("out.txt")), QByteArray("done\n"));
    // Waits that start later are not given up.
    EXPECT_EQ(ProcessRunner::run(script(dir, QStringLiteral("quick.sh"), "exit 0\n"), {}),
              ProcessRunner::Outcome::Ended);
}

} // namespace
