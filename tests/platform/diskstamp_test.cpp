#include "platform/DiskStamp.h"

#include "support/TempFolder.h"

#include <QDateTime>
#include <QFile>

#include <gtest/gtest.h>

#include <functional>

namespace {

void setTime(const QString& path, const QDateTime& when)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(when, QFileDevice::FileModificationTime));
}

struct Case {
    const char* name;
    bool oldFile; // the file's time lies well in the past when the stamp is taken
    std::function<void(TempFolder&)> change;
    bool changed;
};

TEST(DiskStamp, tellsOutsideChanges)
{
    const QDateTime past = QDateTime::currentDateTime().addDays(-3);
    const Case cases[] = {
        {"untouched old file", true, [](TempFolder&) {}, false},
        {"untouched fresh file", false, [](TempFolder&) {}, false},
        {"longer", true, [](TempFolder& d) { d.write(QStringLiteral("f"), "hello!"); }, true},
        {"same size, new time", true, [](TempFolder& d) { d.write(QStringLiteral("f"), "HELLO"); }, true},
        // A rewrite that keeps size and time: only the bytes can tell.
        {"same size and time, other bytes", false,
         [](TempFolder& d) {
             const QDateTime kept = QFileInfo(d.file(QStringLiteral("f"))).lastModified();
             d.write(QStringLiteral("f"), "HELLO");
             setTime(d.file(QStringLiteral("f")), kept);
         },
         true},
        // A touch, a backup copied back, a sync tool's pass: the same bytes are the same file.
        {"only the time moved", true,
         [](TempFolder& d) { setTime(d.file(QStringLiteral("f")), QDateTime::currentDateTime()); }, false},
        {"rewritten with the same bytes", true, [](TempFolder& d) { d.write(QStringLiteral("f"), "hello"); },
         false},
        // Writing a vanished file back loses nothing of anyone's.
        {"removed", true, [](TempFolder& d) { QFile::remove(d.file(QStringLiteral("f"))); }, false},
    };
    for (const Case& c : cases) {
        TempFolder dir;
        dir.write(QStringLiteral("f"), "hello");
        if (c.oldFile)
            setTime(dir.file(QStringLiteral("f")), past);
        const DiskStamp stamp = DiskStamp::take(dir.file(QStringLiteral("f")), "hello");
        c.change(dir);
        EXPECT_EQ(stamp.changedOnDisk(dir.file(QStringLiteral("f"))), c.changed) << c.name;
        // The stamp survives being kept as text.
        EXPECT_EQ(DiskStamp::fromText(stamp.toText()), stamp) << c.name;
    }
}

TEST(DiskStamp, missingFileThatAppearsIsAChange)
{
    TempFolder dir;
    const DiskStamp stamp = DiskStamp::take(dir.file(QStringLiteral("f")));
    EXPECT_FALSE(stamp.exists());
    EXPECT_FALSE(stamp.changedOnDisk(dir.file(QStringLiteral("f"))));
    dir.write(QStringLiteral("f"), "");
    EXPECT_TRUE(stamp.changedOnDisk(dir.file(QStringLiteral("f"))));
    EXPECT_EQ(DiskStamp::fromText(stamp.toText()), stamp);
    EXPECT_EQ(DiskStamp::fromText(QStringLiteral("garbage")), DiskStamp::missing());
}

} // namespace
