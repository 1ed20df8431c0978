#include "MainFormFixture.h"
#include "support/Eventually.h"

#include "controls/jvStringGrid.h"
#include "platform/AnsiText.h"
#include "sync/MergeDialog.h"

#include <QAction>
#include <QPushButton>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

constexpr int kScanMs = 3000;

class MergeCopiesTest : public MainFormFixture {
protected:
    ScriptedDialogs scripted;
    MergeCopiesTest() { dialogs = &scripted; }

    QToolButton* mark() const { return part<QToolButton>(*form, u"ConflictCopyMark"_s); }
    QAction* merge() const { return action(*form, "Merge1"); }
    // The merge dialog answered with `button`, after `look` saw it.
    void answerMerge(QPushButton* MergeDialog::*button, std::function<void(MergeDialog&)> look = {})
    {
        scripted.answer([button, look](QDialog& dialog) {
            auto* merge = qobject_cast<MergeDialog*>(&dialog);
            EXPECT_NE(merge, nullptr);
            if (!merge)
                return false;
            if (look)
                look(*merge);
            (merge->*button)->click();
            return merge->result() == QDialog::Accepted;
        });
    }
};

} // namespace

TEST_F(MergeCopiesTest, aCopyOfTheShownDayIsMarkedAndTakingBothKeepsEveryLine)
{
    dir.write(u"20010203.txt"_s, AnsiText::encode(u"朝\r\n昼\r\n"_s));
    const QString copy = u"20010203.sync-conflict-20010203-101010-ABCDEFG.txt"_s;
    dir.write(copy, AnsiText::encode(u"朝\r\n夜\r\n"_s));
    start();
    ASSERT_EVENTUALLY(mark()->isVisible(), kScanMs);
    EXPECT_TRUE(mark()->text().contains(u"20010203.txt"_s));
    EXPECT_TRUE(mark()->toolTip().contains(copy));
    ASSERT_TRUE(merge()->isEnabled());

    // Typed and not yet saved: part of what is compared, and kept.
    QPlainTextEdit* diary = memo(*form, "Memo7");
    pageTabs(*form)->setCurrentWidget(diary);
    diary->moveCursor(QTextCursor::End);
    type(diary, u"晩"_s);
    answerMerge(&MergeDialog::TakeBoth, [](MergeDialog& d) {
        EXPECT_EQ(d.FileText->toPlainText(), u"朝\n昼\n晩"_s);
        EXPECT_EQ(d.CopyText->toPlainText(), u"朝\n夜"_s);
        EXPECT_TRUE(d.TakeBoth->isEnabled());
    });
    merge()->trigger();
    EXPECT_TRUE(scripted.allAnswered());
    EXPECT_EQ(AnsiText::decode(dir.read(u"20010203.txt"_s)), u"朝\r\n昼\r\n晩\r\n夜"_s);
    EXPECT_EQ(diary->toPlainText(), u"朝\n昼\n晩\n夜"_s);
    EXPECT_FALSE(diary->document()->isModified());
    EXPECT_FALSE(has(copy.toUtf8().constData()));
    EXPECT_FALSE(mark()->isVisible());
    EXPECT_FALSE(merge()->isEnabled());
}

TEST_F(MergeCopiesTest, aCopyOfAnotherDayTakesTheWindowThereAndCancellingKeepsBoth)
{
    dir.write(u"Sch20010210.txt"_s, "mine\r\n");
    dir.write(u"Sch20010210 (1).txt"_s, "theirs\r\n");
    start();
    ASSERT_EVENTUALLY(merge()->isEnabled(), kScanMs);

    scripted.cancel();
    merge()->trigger();
    EXPECT_EQ(calendar(*form)->selectedDate(), QDate(2001, 2, 10));
    EXPECT_EQ(pageTabs(*form)->currentWidget(), memo(*form, "Memo1")) << "the page the copy belongs to";
    EXPECT_EQ(file("Sch20010210.txt"), QByteArray("mine\r\n"));
    EXPECT_TRUE(has("Sch20010210 (1).txt"));
    EXPECT_TRUE(mark()->isVisible());

    answerMerge(&MergeDialog::TakeCopy);
    merge()->trigger();
    EXPECT_EQ(file("Sch20010210.txt"), QByteArray("theirs\r\n"));
    EXPECT_EQ(memo(*form, "Memo1")->toPlainText(), u"theirs\n"_s);
    EXPECT_FALSE(has("Sch20010210 (1).txt"));
    EXPECT_TRUE(scripted.allAnswered());
}

TEST_F(MergeCopiesTest, aMonthCopyIsTakenWholeOrNotAtAll)
{
    const QByteArray mine = AnsiText::encode(u",予定1\r\n1日(木),会議\r\n"_s);
    const QByteArray theirs = AnsiText::encode(u",予定1\r\n1日(木),出張\r\n"_s);
    dir.write(u"200102.csv"_s, mine);
    dir.write(u"200102 (conflicted copy 2001-02-03).csv"_s, theirs);
    start();
    ASSERT_EVENTUALLY(merge()->isEnabled(), kScanMs);
    // Days repeated one after another would make no month.
    answerMerge(&MergeDialog::TakeCopy, [](MergeDialog& d) { EXPECT_FALSE(d.TakeBoth->isEnabled()); });
    merge()->trigger();
    EXPECT_EQ(grid(*form)->Cells(1, 1), u"出張"_s);
    EXPECT_TRUE(AnsiText::decode(dir.read(u"200102.csv"_s)).contains(u"出張"_s));
    EXPECT_FALSE(has("200102 (conflicted copy 2001-02-03).csv"));
}

TEST_F(MergeCopiesTest, onlyCopiesOfTheProgramsFilesAreMarkedAndNewOnesAppear)
{
    dir.write(u"notes (1).txt"_s, "x");
    dir.write(u"20010203 (1).csv"_s, "x"); // a day's name with a month's extension is no data file
    dir.write(u"~QuavSchedulerWork (1).txt"_s, "x");
    start();
    EXPECT_FALSE(merge()->isEnabled());
    dir.write(u"ToDo (conflict_on_2001-02-03).txt"_s, "x");
    ASSERT_EVENTUALLY(mark()->isVisible(), kScanMs);
    EXPECT_EQ(mark()->text(), u"競合コピー: ToDo.txt"_s) << "no other name counted";
}
