#include "MainFormFixture.h"

#include "controls/jvStringGrid.h"
#include "schedule/FileTextBaseline.h"
#include "platform/AnsiText.h"

#include <QFile>
#include <QFileInfo>

namespace {

class SavedTextTest : public MainFormFixture {
protected:
    // Gives the file an old time, so a rewrite shows even within the same second.
    void age(const char* name) const
    {
        QFile f(dir.file(QLatin1String(name)));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(
            f.setFileTime(QDateTime(QDate(2000, 1, 1), QTime(0, 0)), QFileDevice::FileModificationTime));
    }
    QDateTime modified(const char* name) const
    {
        return QFileInfo(dir.file(QLatin1String(name))).lastModified();
    }
};

// February 2001 as the program would write it, with one cell changed by the caller.
QString february(const QString& cell)
{
    QString text = QStringLiteral(",予定1,予定2,予定3\r\n");
    static const char16_t* days[] = {u"木", u"金", u"土", u"日", u"月", u"火", u"水"};
    for (int d = 1; d <= 28; ++d)
        text += QStringLiteral("%1日(%2),%3,,\r\n")
                    .arg(d)
                    .arg(QString::fromUtf16(days[(d - 1) % 7]), d == 5 ? cell : QString());
    return text;
}

struct ForeignMonth {
    const char* name;
    QByteArray bytes;
};

class UnchangedMonth : public SavedTextTest, public ::testing::WithParamInterface<ForeignMonth> {};

TEST_P(UnchangedMonth, keepsItsBytesAndTimeUntilTheUserTypes)
{
    const QByteArray original = GetParam().bytes;
    dir.write(QStringLiteral("200102.csv"), original);
    age("200102.csv");
    const QDateTime before = modified("200102.csv");
    TMainForm& f = start();
    EXPECT_EQ(grid(f)->Cells(1, 5), QStringLiteral("歯医者≒"));

    changeDate(QDate(2001, 3, 1)); // the month is left
    changeDate(QDate(2001, 2, 5));
    ASSERT_TRUE(closeForm());
    EXPECT_EQ(file("200102.csv"), original);
    EXPECT_EQ(modified("200102.csv"), before);

    // Once the user types, the month is written in the program's own form.
    TMainForm& again = start();
    grid(again)->setCells(2, 7, QStringLiteral("会議"));
    ASSERT_TRUE(closeForm());
    QString expected = february(QStringLiteral("歯医者≒"));
    expected.replace(QStringLiteral("7日(水),,,"), QStringLiteral("7日(水),,会議,"));
    EXPECT_EQ(file("200102.csv"), AnsiText::encode(expected));
}

INSTANTIATE_TEST_SUITE_P(OtherPrograms, UnchangedMonth,
                         ::testing::Values(
                             // UTF-8 without a mark, from an editor of this platform.
                             ForeignMonth{"utf8", february(QStringLiteral("歯医者≒")).toUtf8()},
                             // The NEC-row code of ≒ (87 90); Windows writes 81 E0 for the same character.
                             ForeignMonth{"necRow",
                                          AnsiText::encode(february(QStringLiteral("歯医者")))
                                              .replace("\x8e\x95\x88\xe3\x8e\xd2",
                                                       QByteArray("\x8e\x95\x88\xe3\x8e\xd2\x87\x90"))}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SavedTextTest, monthWithoutFileIsStillCreatedWhenLeft)
{
    TMainForm& f = start();
    changeDate(QDate(2001, 3, 1));
    EXPECT_TRUE(has("200102.csv"));
    // Written once, then left alone while it says the same.
    age("200102.csv");
    const QDateTime written = modified("200102.csv");
    changeDate(QDate(2001, 2, 1));
    changeDate(QDate(2001, 3, 1));
    EXPECT_EQ(modified("200102.csv"), written);
    EXPECT_EQ(f.selectedDate(), QDate(2001, 3, 1));
}

TEST_F(SavedTextTest, undoAfterSaveBringsTheLoadedTextBackToTheFile)
{
    dir.write(QStringLiteral("ToDo.txt"), "loaded");
    TMainForm& f = start();
    memo(f, "Memo2")->moveCursor(QTextCursor::End);
    QTest::keyClicks(memo(f, "Memo2"), QStringLiteral(" typed"));
    changeDate(QDate(2001, 2, 4));
    EXPECT_EQ(file("ToDo.txt"), QByteArray("loaded typed"));

    for (int i = 0; i < 20 && memo(f, "Memo2")->toPlainText() != QStringLiteral("loaded"); ++i)
        memo(f, "Memo2")->undo();
    ASSERT_EQ(memo(f, "Memo2")->toPlainText(), QStringLiteral("loaded"));
    changeDate(QDate(2001, 2, 5));
    EXPECT_EQ(file("ToDo.txt"), QByteArray("loaded"));

    // Typing on after a save is a change again, however the editor merges its undo steps.
    memo(f, "Memo2")->moveCursor(QTextCursor::End);
    QTest::keyClicks(memo(f, "Memo2"), QStringLiteral("!"));
    changeDate(QDate(2001, 2, 6));
    QTest::keyClicks(memo(f, "Memo2"), QStringLiteral("?"));
    changeDate(QDate(2001, 2, 7));
    EXPECT_EQ(file("ToDo.txt"), QByteArray("loaded!?"));
}

TEST_F(SavedTextTest, unchangedPageFileKeepsItsBytes)
{
    // UTF-8 from another program: the page shows it and, untouched, it is never rewritten.
    const QByteArray utf8 = QStringLiteral("〜メモ〜").toUtf8();
    dir.write(QStringLiteral("Memo.txt"), utf8);
    TMainForm& f = start();
    EXPECT_EQ(memo(f, "Memo3")->toPlainText(), QStringLiteral("〜メモ〜"));
    // Typed and rubbed out again before any save: the page says what the file says.
    type(memo(f, "Memo3"), QStringLiteral("x"));
    memo(f, "Memo3")->textCursor().deletePreviousChar();
    ASSERT_TRUE(memo(f, "Memo3")->document()->isModified());
    changeDate(QDate(2001, 2, 4));
    ASSERT_TRUE(closeForm());
    EXPECT_EQ(file("Memo.txt"), utf8);
}

TEST(FileTextBaseline, tellsWhetherTheFileHoldsTheText)
{
    FileTextBaseline b;
    EXPECT_FALSE(b.fileHolds(QString()));
    b.setMissing();
    EXPECT_FALSE(b.fileHolds(QString()));
    b.setUnreadable(QStringLiteral("shown"));
    EXPECT_FALSE(b.fileHolds(QStringLiteral("shown")));
    EXPECT_EQ(b.text(), QStringLiteral("shown"));
    b.setKnown(QStringLiteral("a\r\nb"));
    EXPECT_TRUE(b.fileHolds(QStringLiteral("a\r\nb")));
    EXPECT_FALSE(b.fileHolds(QStringLiteral("a\nb")));
    b.setMissing();
    EXPECT_TRUE(b.text().isEmpty());
}

} // namespace
