#include "platform/DiskStamp.h"
#include "platform/FileBytes.h"

#include "support/TempFolder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

void setTime(const QString& path, const QDateTime& when)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(when, QFileDevice::FileModificationTime));
}

} // namespace

TEST(FileBytes, readsWholeFilesOfEverySizeWithTheirFacts)
{
    TempFolder dir;
    // Sizes around the first buffer and its growth steps.
    for (const qsizetype size : {0, 1, 16383, 16384, 16385, 100000}) {
        QByteArray bytes(size, Qt::Uninitialized);
        for (qsizetype i = 0; i < size; ++i)
            bytes[i] = char(i * 7);
        dir.write(QStringLiteral("f"), bytes);
        QByteArray read("stale");
        FileBytes::Facts facts;
        ASSERT_EQ(FileBytes::readWithFacts(native(dir.file(QStringLiteral("f"))), read, facts),
                  FileBytes::Outcome::Read)
            << size;
        EXPECT_EQ(read, bytes) << size;
        EXPECT_EQ(facts.size, size);
        EXPECT_NE(facts.inode, 0u);
        EXPECT_EQ(FileBytes::read(native(dir.file(QStringLiteral("f"))), read), true);
        EXPECT_EQ(read, bytes) << size;
    }
}

TEST(FileBytes, tellsAMissingFileFromOneThatCannotBeRead)
{
    TempFolder dir;
    QByteArray read;
    FileBytes::Facts facts;
    EXPECT_EQ(FileBytes::readWithFacts(native(dir.file(QStringLiteral("none"))), read, facts),
              FileBytes::Outcome::Missing);
    EXPECT_EQ(FileBytes::factsOf(native(dir.file(QStringLiteral("none"))), facts),
              FileBytes::Outcome::Missing);
    // A link to nothing is a file someone meant to be there: never to be taken for none.
    ASSERT_TRUE(QFile::link(dir.file(QStringLiteral("none")), dir.file(QStringLiteral("link"))));
    EXPECT_EQ(FileBytes::readWithFacts(native(dir.file(QStringLiteral("link"))), read, facts),
              FileBytes::Outcome::Failed);
    // A link to a file reads as the file.
    dir.write(QStringLiteral("target"), "through");
    ASSERT_TRUE(QFile::link(dir.file(QStringLiteral("target")), dir.file(QStringLiteral("good"))));
    EXPECT_EQ(FileBytes::readWithFacts(native(dir.file(QStringLiteral("good"))), read, facts),
              FileBytes::Outcome::Read);
    EXPECT_EQ(read, QByteArray("through"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    EXPECT_EQ(FileBytes::readWithFacts(native(dir.file(QStringLiteral("sub"))), read, facts),
              FileBytes::Outcome::Failed);
    EXPECT_EQ(FileBytes::factsOf(native(dir.file(QStringLiteral("sub"))), facts), FileBytes::Outcome::Failed);
}

struct Case {
    const char* name;
    std::function<void(TempFolder&)> change;
    bool unchanged;
};

// Whether a file read once must be read again: anything but surely the same file reads again.
TEST(DiskStamp, vouchesOnlyForAFileSurelyUntouched)
{
    const QDateTime past = QDateTime::currentDateTime().addDays(-3);
    const auto keepTime = [past](TempFolder& d, const char* name, const char* bytes) {
        d.write(QLatin1String(name), bytes);
        setTime(d.file(QLatin1String(name)), past);
    };
    const Case cases[] = {
        {"untouched", [](TempFolder&) {}, true},
        {"rewritten, same size and time", [&](TempFolder& d) { keepTime(d, "f", "HELLO"); }, false},
        {"replaced by a copy with its time",
         [&](TempFolder& d) {
             keepTime(d, "g", "HELLO");
             QFile::remove(d.file(QStringLiteral("f")));
             QFile::rename(d.file(QStringLiteral("g")), d.file(QStringLiteral("f")));
         },
         false},
        {"removed", [](TempFolder& d) { QFile::remove(d.file(QStringLiteral("f"))); }, false},
    };
    std::vector<std::unique_ptr<TempFolder>> dirs;
    for (size_t i = 0; i < std::size(cases); ++i) {
        dirs.push_back(std::make_unique<TempFolder>());
        keepTime(*dirs.back(), "f", "hello");
    }
    // A file whose change time is this close to now may yet be rewritten within the time's grain.
    {
        QByteArray bytes;
        FileBytes::Facts facts;
        const QString path = dirs.front()->file(QStringLiteral("f"));
        ASSERT_EQ(FileBytes::readWithFacts(native(path), bytes, facts), FileBytes::Outcome::Read);
        EXPECT_FALSE(DiskStamp::fromFacts(facts, bytes).unchangedSince(path)) << "changed a moment ago";
    }
    QThread::msleep(3100);
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        TempFolder& dir = *dirs[i];
        QByteArray bytes;
        FileBytes::Facts facts;
        ASSERT_EQ(FileBytes::readWithFacts(native(dir.file(QStringLiteral("f"))), bytes, facts),
                  FileBytes::Outcome::Read);
        const DiskStamp stamp = DiskStamp::fromFacts(facts, bytes);
        c.change(dir);
        EXPECT_EQ(stamp.unchangedSince(dir.file(QStringLiteral("f"))), c.unchanged) << c.name;
        // Kept as text, a stamp no longer knows the file well enough.
        EXPECT_FALSE(DiskStamp::fromText(stamp.toText()).unchangedSince(dir.file(QStringLiteral("f"))))
            << c.name;
    }

    TempFolder dir;
    const QString path = dir.file(QStringLiteral("f"));
    EXPECT_TRUE(DiskStamp::take(path).unchangedSince(path)) << "still missing";
    dir.write(QStringLiteral("f"), "new");
    EXPECT_FALSE(DiskStamp::missing().unchangedSince(path)) << "created since";
}
