#include "schedule/PageFile.h"
#include "platform/AnsiText.h"
#include "platform/Failure.h"

#include "support/TempFolder.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

using PageFile::SaveAction;

TEST(PageFile, loadTurnsEveryLineBreakIntoCrLf)
{
    TempFolder dir;
    dir.write(QStringLiteral("a.txt"), "one\ntwo\rthree\r\n\t\x97\x5c\x92\xe8");
    const PageFile::Loaded got = PageFile::load(dir.file(QStringLiteral("a.txt")));
    EXPECT_EQ(got.state, PageFile::Loaded::State::Read);
    EXPECT_EQ(got.text, QStringLiteral("one\r\ntwo\r\nthree\r\n\t予定"));
}

TEST(PageFile, missingAndUnreadableFilesAreTold)
{
    TempFolder dir;
    EXPECT_EQ(PageFile::load(dir.file(QStringLiteral("none.txt"))).state, PageFile::Loaded::State::Missing);
    QDir(dir.path()).mkdir(QStringLiteral("folder.txt"));
    EXPECT_EQ(PageFile::load(dir.file(QStringLiteral("folder.txt"))).state,
              PageFile::Loaded::State::Unreadable);
}

TEST(PageFile, writeKeepsTextExactlyAndRemoveToleratesMissing)
{
    TempFolder dir;
    PageFile::write(dir.file(QStringLiteral("p.txt")), QStringLiteral("\r\n"));
    EXPECT_EQ(dir.read(QStringLiteral("p.txt")), QByteArray("\r\n"));
    PageFile::remove(dir.file(QStringLiteral("p.txt")));
    EXPECT_FALSE(dir.exists(QStringLiteral("p.txt")));
    EXPECT_NO_THROW(PageFile::remove(dir.file(QStringLiteral("p.txt"))));
    QDir(dir.path()).mkdir(QStringLiteral("sub"));
    EXPECT_THROW(PageFile::remove(dir.file(QStringLiteral("sub"))), EInOutError);
    EXPECT_THROW(PageFile::write(dir.file(QStringLiteral("p.txt/x")), QStringLiteral("a")), EInOutError);
}

TEST(PageFile, fileBytesAreTheBytesOfTheFileText)
{
    // Plain code page text, and text that goes out otherwise: untouched characters a document
    // treats specially, ones the code page lacks, kept bytes and bytes that would read as UTF-8.
    const QString texts[] = {
        QString(),
        QStringLiteral("\n\n"),
        QStringLiteral("ToDo\n一\n\n二"),
        QStringLiteral("末尾に改行\n"),
        QStringLiteral("CR\rと CR LF\r\n"),
        QStringLiteral("NBSP\u00A0行区切り\u2028段落\u2029非文字\uFDD0\n"),
        QStringLiteral("絵文字😀\ncafé"),
        QStringLiteral("縺薙ｓ縺ｫ縺｡縺ｯ\n"),
        QStringLiteral("kept ") + QChar(char16_t(0xF780)) + QStringLiteral("\nbyte"),
    };
    for (const QString& text : texts)
        EXPECT_EQ(PageFile::fileBytes(text), AnsiText::encode(PageFile::fileText(text)))
            << text.toStdString();
}

struct SaveCase {
    bool deleteWhenEmpty, textEmpty, modified, loadFailed;
    SaveAction expected;
};

class PageSave : public ::testing::TestWithParam<SaveCase> {};

TEST_P(PageSave, action)
{
    const SaveCase& c = GetParam();
    EXPECT_EQ(PageFile::saveAction(c.deleteWhenEmpty, c.textEmpty, c.modified, c.loadFailed), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, PageSave,
    ::testing::Values(
        // A date's page saved empty loses its file, modified or not.
        SaveCase{true, true, false, false, SaveAction::Delete},
        SaveCase{true, true, true, false, SaveAction::Delete},
        // ToDo and メモ keep an empty file once edited.
        SaveCase{false, true, true, false, SaveAction::Write},
        SaveCase{false, true, false, false, SaveAction::Keep},
        SaveCase{true, false, false, false, SaveAction::Keep},
        SaveCase{true, false, true, false, SaveAction::Write},
        // A file that could not be read is neither deleted nor overwritten unless the user edited.
        SaveCase{true, true, false, true, SaveAction::Keep},
        SaveCase{false, true, false, true, SaveAction::Keep},
        SaveCase{true, false, true, true, SaveAction::Write}));

} // namespace
