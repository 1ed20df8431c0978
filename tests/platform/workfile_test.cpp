#include "platform/WorkFile.h"

#include "platform/AnsiText.h"
#include "platform/Failure.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>
#include <unistd.h>

namespace {

mode_t modeOf(const QString& path)
{
    struct stat st {};
    EXPECT_EQ(::lstat(QFile::encodeName(path).constData(), &st), 0);
    return st.st_mode & 07777;
}

TEST(WorkFile, aPlantedLinkIsReplacedAndWhatItPointsToKept)
{
    TempFolder dir;
    dir.write(QStringLiteral("secret.txt"), "keep me");
    const QString work = dir.file(QStringLiteral("~QuavSchedulerWork.txt"));
    const struct {
        const char* name;
        std::function<void()> plant;
    } cases[] = {
        {"symbolic link", [&] { QFile::link(dir.file(QStringLiteral("secret.txt")), work); }},
        {"dangling link", [&] { QFile::link(dir.file(QStringLiteral("nowhere.txt")), work); }},
        {"hard link",
         [&] {
             ::link(QFile::encodeName(dir.file(QStringLiteral("secret.txt"))).constData(),
                    QFile::encodeName(work).constData());
         }},
        {"old work file", [&] { dir.write(QStringLiteral("~QuavSchedulerWork.txt"), "old text, longer"); }},
    };
    for (const auto& c : cases) {
        QFile::remove(work);
        c.plant();
        WorkFile::write(work, "page");
        EXPECT_EQ(dir.read(QStringLiteral("secret.txt")), QByteArray("keep me")) << c.name;
        EXPECT_FALSE(QFileInfo::exists(dir.file(QStringLiteral("nowhere.txt")))) << c.name;
        EXPECT_FALSE(QFileInfo(work).isSymLink()) << c.name;
        EXPECT_EQ(dir.read(QStringLiteral("~QuavSchedulerWork.txt")), QByteArray("page")) << c.name;
        EXPECT_EQ(modeOf(work), mode_t(0600)) << c.name;
    }
}

TEST(WorkFile, placesThatTakeNoFileAreReported)
{
    TempFolder dir;
    QDir(dir.path()).mkdir(QStringLiteral("folder"));
    EXPECT_THROW(WorkFile::write(dir.file(QStringLiteral("folder")), "x"), EInOutError);
    EXPECT_TRUE(QFileInfo(dir.file(QStringLiteral("folder"))).isDir());
    EXPECT_THROW(WorkFile::write(dir.file(QStringLiteral("missing/work.txt")), "x"), EInOutError);
    dir.write(QStringLiteral("file"), "");
    EXPECT_THROW(WorkFile::write(dir.file(QStringLiteral("file/work.txt")), "x"), EInOutError);
}

TEST(WorkFile, readsBackInTheEncodingItWasWrittenIn)
{
    // No Japanese, so the data files' rule would take these UTF-8 bytes for code page 932.
    for (const QString& text : {QStringLiteral("25°C ×2 α"), QStringLiteral("café"), QStringLiteral("Привет"),
                                QStringLiteral("ﾃｽﾄ と 日本語"), QString()}) {
        EXPECT_EQ(WorkFile::decode(text.toUtf8()), text) << text.toStdString();
        // An editor that adds a byte order mark.
        EXPECT_EQ(WorkFile::decode("\xEF\xBB\xBF" + text.toUtf8()), text) << text.toStdString();
    }
    // An editor that saved in code page 932: not UTF-8, so the data files' rule reads it.
    const QByteArray cp932 = AnsiText::encode(QStringLiteral("日本語 ﾃｽﾄ"));
    ASSERT_NE(cp932, QStringLiteral("日本語 ﾃｽﾄ").toUtf8());
    EXPECT_EQ(WorkFile::decode(cp932), QStringLiteral("日本語 ﾃｽﾄ"));
}

} // namespace
