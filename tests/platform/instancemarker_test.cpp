#include "platform/InstanceMarker.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

using Result = InstanceMarker::Result;

constexpr int Patience = 20000;

// Unique per call, so parallel runs and earlier runs never share a marker.
QString uniqueText(const QString& stem = QStringLiteral("quav"))
{
    return stem + QLatin1Char('-') + QString::number(QRandomGenerator::global()->generate64(), 16) +
           QStringLiteral(".exe");
}

// Rings the holder from another thread while this one runs the event loop that answers.
bool ringFromOtherThread(InstanceMarker& caller)
{
    std::atomic<bool> done = false;
    bool answered = false;
    std::thread ringer([&] {
        answered = caller.activateRunning(Patience);
        done = true;
    });
    const bool finished = QTest::qWaitFor([&] { return done.load(); }, 2 * Patience);
    ringer.join();
    return finished && answered;
}

TEST(InstanceMarker, secondMarkerOfSameText_seesRunningAndBringsFirstForward)
{
    const QString text = uniqueText();
    InstanceMarker first(text);
    ASSERT_EQ(first.acquire(), Result::Acquired);
    QSignalSpy requests(&first, &InstanceMarker::activationRequested);

    InstanceMarker second(text);
    EXPECT_EQ(second.acquire(), Result::AlreadyRunning);
    EXPECT_FALSE(second.isHeld());
    EXPECT_TRUE(ringFromOtherThread(second));
    EXPECT_TRUE(requests.count() == 1 || requests.wait(Patience));
    EXPECT_EQ(requests.count(), 1);
    EXPECT_TRUE(first.isHeld());
}

TEST(InstanceMarker, textsDifferingInLetterCase_areOneMarker)
{
    const QString suffix = uniqueText();
    const struct {
        QString held, other;
    } cases[] = {
        {QStringLiteral("QuavScheduler-") + suffix, QStringLiteral("quavscheduler-") + suffix.toUpper()},
        {QStringLiteral("ÄÖ-") + suffix, QStringLiteral("äö-") + suffix},
    };
    for (const auto& c : cases) {
        InstanceMarker held(c.held);
        ASSERT_EQ(held.acquire(), Result::Acquired) << c.held.toStdString();
        InstanceMarker other(c.other);
        EXPECT_EQ(other.acquire(), Result::AlreadyRunning) << c.other.toStdString();
    }
}

TEST(InstanceMarker, differentTexts_doNotSeeEachOther)
{
    InstanceMarker a(uniqueText(QStringLiteral("a")));
    InstanceMarker b(uniqueText(QStringLiteral("b")));
    EXPECT_EQ(a.acquire(), Result::Acquired);
    EXPECT_EQ(b.acquire(), Result::Acquired);

    InstanceMarker nobody(uniqueText(QStringLiteral("c")));
    EXPECT_FALSE(nobody.activateRunning(Patience));
}

TEST(InstanceMarker, textLength_isCountedInBytesUpTo255)
{
    const QString stem = QString::number(0x10000000u + QRandomGenerator::global()->bounded(0x0fffffffu), 16);
    const QString kana = QString(82, QChar(0x3042)); // 3 bytes each in UTF-8
    const struct {
        QString text;
        Result expected;
    } cases[] = {
        {stem + QString(247, QLatin1Char('x')), Result::Acquired},
        {stem + QString(248, QLatin1Char('x')), Result::Failed},
        {stem + kana + QStringLiteral("x"), Result::Acquired},
        {stem + kana + QStringLiteral("xx"), Result::Failed},
        {QString(), Result::Failed},
    };
    for (const auto& c : cases) {
        InstanceMarker marker(c.text);
        EXPECT_EQ(marker.acquire(), c.expected) << c.text.toLocal8Bit().size() << " bytes";
        EXPECT_EQ(marker.isHeld(), c.expected == Result::Acquired);
    }
}

TEST(InstanceMarker, releaseAndDestruction_letTheNextStartIn)
{
    const QString text = uniqueText();
    InstanceMarker first(text);
    ASSERT_EQ(first.acquire(), Result::Acquired);
    first.release();
    EXPECT_FALSE(first.isHeld());
    {
        InstanceMarker second(text);
        EXPECT_EQ(second.acquire(), Result::Acquired);
    }
    InstanceMarker third(text);
    EXPECT_EQ(third.acquire(), Result::Acquired);
    // The doorbell moved to the new holder.
    InstanceMarker fourth(text);
    QSignalSpy requests(&third, &InstanceMarker::activationRequested);
    EXPECT_EQ(fourth.acquire(), Result::AlreadyRunning);
    EXPECT_TRUE(ringFromOtherThread(fourth));
    EXPECT_TRUE(requests.count() == 1 || requests.wait(Patience));
}

TEST(InstanceMarker, markerOfKilledProcess_doesNotBlock)
{
    const QString text = uniqueText();
    QProcess child;
    child.start(QStringLiteral(QUAV_INSTANCEMARKER_CHILD), {text});
    ASSERT_TRUE(child.waitForStarted(Patience));
    ASSERT_TRUE(child.waitForReadyRead(Patience));
    ASSERT_EQ(child.readLine().trimmed(), "acquired");

    {
        InstanceMarker blocked(text.toUpper());
        EXPECT_EQ(blocked.acquire(), Result::AlreadyRunning);
        EXPECT_TRUE(blocked.activateRunning(Patience));
        ASSERT_TRUE(child.canReadLine() || child.waitForReadyRead(Patience));
        EXPECT_EQ(child.readLine().trimmed(), "activated");
    }

    child.kill();
    ASSERT_TRUE(child.waitForFinished(Patience));
    ASSERT_TRUE(QFile::exists(InstanceMarker(text).lockFilePath())) << "the killed run left its lock file";

    InstanceMarker next(text);
    EXPECT_EQ(next.acquire(), Result::Acquired);
    // The dead run's doorbell was replaced, so later starts still reach the new holder.
    QSignalSpy requests(&next, &InstanceMarker::activationRequested);
    InstanceMarker later(text);
    EXPECT_EQ(later.acquire(), Result::AlreadyRunning);
    EXPECT_TRUE(ringFromOtherThread(later));
    EXPECT_TRUE(requests.count() == 1 || requests.wait(Patience));
}

TEST(InstanceMarker, lockFileWithoutHolder_blocksOnlyWhileItMayStillBeBeingWritten)
{
    const struct {
        int ageSeconds;
        Result expected;
    } cases[] = {{3600, Result::Acquired}, {0, Result::AlreadyRunning}};
    for (const auto& c : cases) {
        InstanceMarker marker(uniqueText());
        QFile leftover(marker.lockFilePath());
        ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
        ASSERT_TRUE(leftover.setFileTime(QDateTime::currentDateTime().addSecs(-c.ageSeconds),
                                         QFileDevice::FileModificationTime));
        leftover.close();
        EXPECT_EQ(marker.acquire(), c.expected) << c.ageSeconds << " s old";
        marker.release();
        QFile::remove(marker.lockFilePath());
    }
}

} // namespace

namespace {

TEST(InstanceMarker, withoutRuntimeFolder_lockLiesInAPrivateFolderOfTheUser)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), home.path() + QStringLiteral("/cache"));
    QProcess child;
    child.setProcessEnvironment(env);
    child.start(QStringLiteral(QUAV_INSTANCEMARKER_CHILD), {uniqueText(), QStringLiteral("--where")});
    ASSERT_TRUE(child.waitForFinished(Patience));
    const QString lock = QString::fromLocal8Bit(child.readAllStandardOutput()).trimmed();
    const QString folder = QFileInfo(lock).path();
    EXPECT_TRUE(folder.startsWith(home.path() + QStringLiteral("/cache/QuavScheduler/instance-")))
        << lock.toStdString();
    EXPECT_FALSE(lock.startsWith(QDir::tempPath() + QStringLiteral("/quavscheduler-"))) << lock.toStdString();
    EXPECT_EQ(QFile::permissions(folder) & (QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                            QFile::ReadOther | QFile::WriteOther | QFile::ExeOther),
              QFile::Permissions());
}

} // namespace
