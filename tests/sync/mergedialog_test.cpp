#include "sync/MergeDialog.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kFile = u"会議\r\n昼食\r\n帰宅\r\n"_s;
const QString kCopy = u"会議\r\n夕食\r\n帰宅\r\n日記\r\n"_s;

QList<int> markedBlocks(const QPlainTextEdit* view)
{
    QList<int> out;
    for (const QTextEdit::ExtraSelection& mark : view->extraSelections())
        out << mark.cursor.blockNumber();
    return out;
}

// Runs the dialog and presses the keys once it shows, as the user would.
std::optional<MergeText::Choice> runWithKeys(MergeDialog& dialog, Qt::Key key,
                                             Qt::KeyboardModifiers modifiers)
{
    QTimer::singleShot(0, &dialog, [&] {
        if (!QTest::qWaitForWindowActive(&dialog))
            dialog.activateWindow();
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : &dialog, key, modifiers);
        // A button's mnemonic clicks it a moment later, as it shows itself pressed.
        if (!QTest::qWaitFor([&] { return !dialog.isVisible(); }, 2000))
            dialog.done(-1); // no key reached a choice
    });
    dialog.exec();
    return dialog.choice();
}

TEST(MergeDialog, showsBothSidesWithTheirOwnLinesMarked)
{
    MergeDialog dialog(u"20261209.txt"_s, kFile, u"20261209 (1).txt"_s, kCopy);
    EXPECT_EQ(dialog.windowTitle(), u"比較して統合"_s);
    EXPECT_EQ(dialog.FileText->toPlainText(), u"会議\n昼食\n帰宅"_s);
    EXPECT_EQ(dialog.CopyText->toPlainText(), u"会議\n夕食\n帰宅\n日記"_s);
    EXPECT_TRUE(dialog.FileText->isReadOnly());
    EXPECT_EQ(markedBlocks(dialog.FileText), QList<int>({1}));
    EXPECT_EQ(markedBlocks(dialog.CopyText), QList<int>({1, 3}));
    EXPECT_EQ(dialog.Summary->text(), u"ファイルだけの行: 1　競合コピーだけの行: 2"_s);
    EXPECT_FALSE(dialog.choice().has_value());
    EXPECT_EQ(dialog.mergedText(), kFile);

    MergeDialog same(u"ToDo.txt"_s, kFile, u"ToDo (1).txt"_s, kFile);
    EXPECT_TRUE(markedBlocks(same.FileText).isEmpty());
    EXPECT_EQ(same.Summary->text(), u"違う行はありません。"_s);
}

TEST(MergeDialog, everyChoiceHasItsKey)
{
    struct Row {
        Qt::Key key;
        MergeText::Choice choice;
        QString text;
    };
    const Row rows[] = {
        {Qt::Key_F, MergeText::Choice::File, kFile},
        {Qt::Key_C, MergeText::Choice::Copy, kCopy},
        {Qt::Key_B, MergeText::Choice::Both, u"会議\r\n昼食\r\n帰宅\r\n夕食\r\n日記\r\n"_s},
    };
    for (const Row& row : rows) {
        MergeDialog dialog(u"20261209.txt"_s, kFile, u"20261209 (1).txt"_s, kCopy);
        EXPECT_EQ(runWithKeys(dialog, row.key, Qt::AltModifier), row.choice) << int(row.key);
        EXPECT_EQ(dialog.result(), int(QDialog::Accepted));
        EXPECT_EQ(dialog.mergedText(), row.text);
    }
    MergeDialog dialog(u"20261209.txt"_s, kFile, u"20261209 (1).txt"_s, kCopy);
    EXPECT_FALSE(runWithKeys(dialog, Qt::Key_Escape, Qt::NoModifier).has_value());
    EXPECT_EQ(dialog.result(), int(QDialog::Rejected));
    EXPECT_EQ(dialog.mergedText(), kFile);
}

TEST(MergeDialog, tabReachesBothSidesAndEveryButton)
{
    MergeDialog dialog(u"20261209.txt"_s, kFile, u"20261209 (1).txt"_s, kCopy);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    dialog.FileText->setFocus();
    QList<QWidget*> visited{dialog.FileText};
    for (int i = 0; i < 5; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget();
    }
    EXPECT_EQ(visited, (QList<QWidget*>{dialog.FileText, dialog.CopyText, dialog.TakeFile, dialog.TakeCopy,
                                        dialog.TakeBoth, dialog.Cancel}));
    // Space on a button takes its choice.
    dialog.TakeBoth->setFocus();
    QTest::keyClick(dialog.TakeBoth, Qt::Key_Space);
    EXPECT_EQ(dialog.choice(), MergeText::Choice::Both);
    EXPECT_FALSE(dialog.isVisible());
}

} // namespace
