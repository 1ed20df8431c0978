#include "mainwindow/PageFiller.h"

#include "mainwindow/PageEditorText.h"
#include "platform/AnsiText.h"
#include "schedule/PageFile.h"
#include "support/TempFolder.h"

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>
#include <QTextDocument>
#include <QThread>

#include <gtest/gtest.h>

#include <vector>

namespace {

// Texts whose characters a text document treats specially: line and paragraph breaks, its
// frame marks, CR (a break to the document, alone or before LF), surrogate pairs and a NUL.
const QString kTexts[] = {
    QString(),
    QStringLiteral("一行"),
    QStringLiteral("a\nb\n\nc\n"),
    QStringLiteral("前\r後\nCR LF は\r\nそのまま"),
    QStringLiteral("段落\u2029区切り\uFDD0枠\uFDD1終わり\u2028行"),
    QStringLiteral("絵文字 😀😀\n😀 と NBSP\u00A0"),
    QString(QStringLiteral("NUL:")) + QChar(0) + QStringLiteral(":後"),
};

TEST(PageEditorTextFill, slicesGiveTheTextSetTextGives)
{
    for (const QString& text : kTexts) {
        QTextDocument whole;
        PageEditorText::setText(&whole, text);
        for (const qsizetype slice : {qsizetype(1), qsizetype(2), qsizetype(5), qsizetype(1) << 20}) {
            QTextDocument sliced;
            ASSERT_TRUE(PageEditorText::fill(
                &sliced, text, [] { return true; }, slice));
            EXPECT_EQ(PageEditorText::text(&sliced), PageEditorText::text(&whole)) << "slice " << slice;
            EXPECT_EQ(sliced.blockCount(), whole.blockCount()) << "slice " << slice;
            EXPECT_FALSE(sliced.isModified());
            EXPECT_FALSE(sliced.isUndoAvailable());
        }
    }
}

TEST(PageEditorTextFill, stopsBetweenSlicesWhenAsked)
{
    QTextDocument document;
    int asked = 0;
    EXPECT_FALSE(PageEditorText::fill(
        &document, QStringLiteral("1\n2\n3\n4\n"), [&] { return ++asked < 3; }, 2));
    EXPECT_EQ(PageEditorText::text(&document), QStringLiteral("1\n2\n"));
}

TEST(PageEditorTextFill, snapshotGivesTheTextAfterTheDocumentMovedOn)
{
    QTextDocument document;
    PageEditorText::setText(&document, QStringLiteral("段落\u2029と\uFDD0"));
    PageEditorText::Snapshot taken = PageEditorText::snapshot(&document);
    PageEditorText::setText(&document, QStringLiteral("後の文"));
    EXPECT_EQ(taken.text(), QStringLiteral("段落\u2029と\uFDD0"));
    // Taken in place, the same text, and the document is none the worse for it.
    EXPECT_EQ(taken.take(), QStringLiteral("段落\u2029と\uFDD0"));
    EXPECT_TRUE(taken.raw.isEmpty());
    EXPECT_EQ(PageEditorText::text(&document), QStringLiteral("後の文"));
}

TEST(PageEditorTextFill, snapshotBytesAreTheBytesOfTheEditorsText)
{
    // Beside the texts above: empty blocks, breaks at either end, a last line without break,
    // characters written untouched, a text the code page lacks a character of.
    const QString more[] = {
        QStringLiteral("\n\n\n"),
        QStringLiteral("\n先頭\n\n\n末尾"),
        QStringLiteral("最終行に改行なし"),
        QStringLiteral("ToDo 1: 資料を確認する\nToDo 2: 会議\n"),
        QStringLiteral("\u00A0\u2028\u2029\uFDD0\uFDD1 そのまま\n"),
        QStringLiteral("caf\u00e9\n"),
        QStringLiteral("\u301C\u2212 typed forms\n"),
    };
    QStringList texts(std::begin(kTexts), std::end(kTexts));
    texts.append(QStringList(std::begin(more), std::end(more)));
    for (const QString& text : texts) {
        for (const qsizetype slice : {qsizetype(1), qsizetype(3), qsizetype(1) << 20}) {
            QTextDocument document;
            ASSERT_TRUE(PageEditorText::fill(
                &document, text, [] { return true; }, slice));
            const QByteArray now = AnsiText::encode(PageFile::fileText(PageEditorText::text(&document)));
            EXPECT_EQ(PageFile::fileBytes(PageEditorText::snapshot(&document).take()), now)
                << text.toStdString() << " slice " << slice;
        }
    }
}

TEST(PageEditorTextFill, handedDocumentTakesTheEditorsFontAndTyping)
{
    QPlainTextEdit editor;
    QFont font = editor.font();
    font.setPointSize(23);
    editor.setFont(font);
    editor.show();
    QPointer<QTextDocument> first = editor.document();
    for (const QString& text : {QStringLiteral("最初\u2029の"), QStringLiteral("二つ目")}) {
        auto document = std::make_unique<QTextDocument>();
        ASSERT_TRUE(PageEditorText::fill(document.get(), text, [] { return true; }));
        QPointer<QTextDocument> handed = document.get();
        QPointer<QTextDocument> shown = editor.document();
        PageEditorText::setDocument(&editor, std::move(document));
        EXPECT_EQ(editor.document(), handed.data());
        EXPECT_TRUE(shown.isNull()) << "the document shown before stays behind";
        EXPECT_EQ(editor.document()->defaultFont().pointSize(), 23);
        EXPECT_EQ(PageEditorText::text(&editor), text);
    }
    EXPECT_TRUE(first.isNull());
    editor.setFocus();
    editor.moveCursor(QTextCursor::End);
    QTest::keyClicks(&editor, QStringLiteral("x"));
    EXPECT_EQ(PageEditorText::text(&editor), QStringLiteral("二つ目x"));
    EXPECT_TRUE(editor.document()->isModified());
}

class PageFillerTest : public ::testing::Test {
protected:
    TempFolder dir;
    std::vector<FilledPage> delivered;
    PageFiller filler{[this](FilledPage& filled) { delivered.push_back(std::move(filled)); }};

    void waitForAll()
    {
        ASSERT_TRUE(QTest::qWaitFor([&] { return !filler.filling(); }, 20000));
    }
};

TEST_F(PageFillerTest, fileComesInItsDocumentWithItsBaselineAndStamp)
{
    const QByteArray bytes = AnsiText::encode(QStringLiteral("ToDo 一\r\n二\r\n"));
    dir.write(QStringLiteral("ToDo.txt"), bytes);
    filler.start(0, dir.file(QStringLiteral("ToDo.txt")));
    EXPECT_TRUE(filler.filling(0));
    EXPECT_FALSE(filler.filling(1));
    waitForAll();
    ASSERT_EQ(delivered.size(), 1u);
    const FilledPage& page = delivered[0];
    EXPECT_EQ(page.page, 0);
    EXPECT_EQ(page.loaded.state, PageFile::Loaded::State::Read);
    ASSERT_TRUE(page.document);
    EXPECT_EQ(page.document->thread(), QThread::currentThread());
    EXPECT_EQ(PageEditorText::text(page.document.get()), QStringLiteral("ToDo 一\n二\n"));
    EXPECT_TRUE(page.baseline.fileHolds(QStringLiteral("ToDo 一\r\n二\r\n")));
    EXPECT_TRUE(page.loaded.stamp.exists());
    EXPECT_FALSE(page.loaded.stamp.changedOnDisk(dir.file(QStringLiteral("ToDo.txt"))));
}

TEST_F(PageFillerTest, missingAndUnreadableFilesComeWithoutDocument)
{
    dir.write(QStringLiteral("Memo.txt"), "x");
    filler.start(0, dir.file(QStringLiteral("none.txt")));
    // A folder where the file should be cannot be read.
    filler.start(1, dir.path());
    waitForAll();
    ASSERT_EQ(delivered.size(), 2u);
    EXPECT_EQ(delivered[0].loaded.state, PageFile::Loaded::State::Missing);
    EXPECT_EQ(delivered[1].loaded.state, PageFile::Loaded::State::Unreadable);
    EXPECT_FALSE(delivered[0].document);
    EXPECT_FALSE(delivered[1].document);
}

TEST_F(PageFillerTest, droppedOrRestartedFillDeliversOnlyTheNewest)
{
    dir.write(QStringLiteral("a.txt"), "old");
    dir.write(QStringLiteral("b.txt"), "new");
    filler.start(3, dir.file(QStringLiteral("a.txt")));
    filler.start(3, dir.file(QStringLiteral("b.txt")));
    filler.start(4, dir.file(QStringLiteral("a.txt")));
    filler.cancel(4);
    EXPECT_FALSE(filler.filling(4));
    waitForAll();
    // Later events bring nothing more.
    QCoreApplication::processEvents();
    ASSERT_EQ(delivered.size(), 1u);
    EXPECT_EQ(delivered[0].path, dir.file(QStringLiteral("b.txt")));
    EXPECT_EQ(PageEditorText::text(delivered[0].document.get()), QStringLiteral("new"));
}

TEST_F(PageFillerTest, finishDeliversBeforeReturningAndOnlyOnce)
{
    dir.write(QStringLiteral("a.txt"), "A");
    dir.write(QStringLiteral("b.txt"), "B");
    filler.start(0, dir.file(QStringLiteral("a.txt")));
    filler.start(1, dir.file(QStringLiteral("b.txt")));
    filler.finish(1);
    ASSERT_EQ(delivered.size(), 1u);
    EXPECT_EQ(delivered[0].page, 1);
    EXPECT_TRUE(filler.filling(0));
    waitForAll();
    QCoreApplication::processEvents();
    ASSERT_EQ(delivered.size(), 2u);
    EXPECT_EQ(delivered[1].page, 0);
}

TEST(PageFillerEnd, endingWhileFillingDeliversNothing)
{
    TempFolder dir;
    // Large enough to be still filling when the filler goes.
    QByteArray bytes;
    while (bytes.size() < 4 * 1000 * 1000)
        bytes += "line of a large page\r\n";
    dir.write(QStringLiteral("ToDo.txt"), bytes);
    int deliveries = 0;
    {
        PageFiller filler([&](FilledPage&) { ++deliveries; });
        filler.start(0, dir.file(QStringLiteral("ToDo.txt")));
        filler.start(1, dir.file(QStringLiteral("ToDo.txt")));
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(deliveries, 0);
}

} // namespace
