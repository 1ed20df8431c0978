#include "platform/FolderEntries.h"

#include "support/TempFolder.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;
using Kind = FolderEntries::Kind;

namespace {

std::map<std::string, Kind> entriesOf(const QString& folder, bool* listed = nullptr)
{
    std::map<std::string, Kind> out;
    const bool ok = FolderEntries::visit(folder, [&](std::string_view name, Kind kind) {
        EXPECT_TRUE(out.emplace(std::string(name), kind).second) << "told twice: " << name;
    });
    if (listed)
        *listed = ok;
    return out;
}

TEST(FolderEntries, everyEntryIsToldWithItsKindAndItsNameAsStored)
{
    TempFolder dir;
    dir.write(u"20261209.txt"_s, "plan");
    dir.write(u".ToDo.txt.quav-Ab12Cd"_s, "half");
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"sub"_s));
    ASSERT_EQ(::symlink("20261209.txt", QFile::encodeName(dir.file(u"link.txt"_s)).constData()), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.file(u"pipe"_s)).constData(), 0600), 0);
    // A name that is no UTF-8, as an old folder copied from another system may hold.
    const std::string latin1 = "caf\xe9.txt";
    const QByteArray folder = QFile::encodeName(dir.path());
    const std::string raw = folder.toStdString() + "/" + latin1;
    FILE* f = std::fopen(raw.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fclose(f);

    bool listed = false;
    const std::map<std::string, Kind> expected{
        {"20261209.txt", Kind::File}, {".ToDo.txt.quav-Ab12Cd", Kind::File},
        {"sub", Kind::Folder},        {"link.txt", Kind::Link},
        {"pipe", Kind::Other},        {latin1, Kind::File}};
    EXPECT_EQ(entriesOf(dir.path(), &listed), expected);
    EXPECT_TRUE(listed);
}

TEST(FolderEntries, aFolderThatCannotBeReadIsToldAsSuch)
{
    TempFolder dir;
    bool listed = true;
    EXPECT_TRUE(entriesOf(dir.file(u"missing"_s), &listed).empty());
    EXPECT_FALSE(listed);
    dir.write(u"file"_s, "x");
    EXPECT_TRUE(entriesOf(dir.file(u"file"_s), &listed).empty());
    EXPECT_FALSE(listed);
    // An empty folder is read, and holds nothing.
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"empty"_s));
    EXPECT_TRUE(entriesOf(dir.file(u"empty"_s), &listed).empty());
    EXPECT_TRUE(listed);
}

} // namespace
