#include "MainFormFixture.h"

#include "mainwindow/PageEditorText.h"
#include "schedule/RecoveryJournal.h"
#include "platform/AnsiText.h"
#include "platform/Clipboard.h"
#include "search/SearchWindow.h"
#include "search/model/SearchHit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTabWidget>

namespace {

QByteArray cp932(const QString& text)
{
    return AnsiText::encode(text);
}

class FixedClipboard final : public Clipboard {
public:
    bool hasText() const override { return true; }
    QString text() const override { return QStringLiteral("貼り付け"); }
    void setText(const QString&) override {}
};

// Every page with a file is filled in the background, as a large one is, and every modified
// page is journaled in the background after a pause.
class LargePageTest : public MainFormFixture {
protected:
    QString journalRoot;

    // The window as made, before any event ran: the fills have not arrived.
    TMainForm& make()
    {
        MainFormEnv env = makeEnv();
        env.largePage = 1;
        if (!journalRoot.isEmpty())
            env.recoveryRoot = journalRoot;
        form = std::make_unique<TMainForm>(env);
        return *form;
    }
    void waitForFills()
    {
        ASSERT_TRUE(QTest::qWaitFor([&] { return !form->pagesFilling(); }, 20000));
    }
    TMainForm& startFilled()
    {
        make();
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        waitForFills();
        return *form;
    }
    // A file as another program left it: bytes and time.
    struct Kept {
        QByteArray bytes;
        QDateTime time;
    };
    Kept kept(const char* name) const
    {
        return {file(name), QFileInfo(dir.file(QLatin1String(name))).lastModified()};
    }
    void expectUntouched(const char* name, const Kept& before) const
    {
        EXPECT_EQ(file(name), before.bytes) << name;
        EXPECT_EQ(QFileInfo(dir.file(QLatin1String(name))).lastModified(), before.time) << name;
    }
    QStringList entryNames() const
    {
        return QDir(form ? form->journal().folderFor(folder())
                         : RecoveryJournal(stateDir.path()).folderFor(folder()))
            .entryList({QStringLiteral("*.entry")}, QDir::Files);
    }
    void leaveJournalEntry(const char* name, const QString& text, int page)
    {
        RecoveryJournal::Entry e;
        e.target = dir.file(QLatin1String(name));
        e.label = QString::fromLatin1(name);
        e.page = page;
        e.base = DiskStamp::take(e.target);
        e.taken = now;
        e.bytes = cp932(text);
        RecoveryJournal(stateDir.path()).put(e);
    }
};

TEST_F(LargePageTest, filledPageShowsExactlyItsFileAndIsNotWrittenBack)
{
    dir.write(QStringLiteral("ToDo.txt"), cp932(QStringLiteral("やること\r\n\t字下げ\r\n\r\n最後")));
    // UTF-8 with its mark, as another program of the platform writes it.
    dir.write(QStringLiteral("Memo.txt"), "\xEF\xBB\xBF" + QStringLiteral("メモ 😀\r\n二行目").toUtf8());
    const Kept todo = kept("ToDo.txt");
    const Kept memo = kept("Memo.txt");
    TMainForm& f = make();
    EXPECT_TRUE(f.pageFilling(0));
    EXPECT_TRUE(f.pageFilling(1));
    EXPECT_FALSE(f.pageFilling(3)) << "a date without a diary file has nothing to fill";
    EXPECT_TRUE(MainFormParts::memo(f, "Memo2")->isReadOnly());
    f.show();
    waitForFills();
    EXPECT_FALSE(f.pageFilling(0));
    // メモ, behind its tab, gets its text when the tab is shown; until then it is not the user's.
    EXPECT_TRUE(f.pageFilling(1));
    EXPECT_TRUE(MainFormParts::memo(f, "Memo3")->isReadOnly());
    pageTabs(f)->setCurrentIndex(1);
    EXPECT_FALSE(f.pageFilling(1));
    EXPECT_EQ(PageEditorText::text(MainFormParts::memo(f, "Memo2")),
              QStringLiteral("やること\n\t字下げ\n\n最後"));
    EXPECT_EQ(PageEditorText::text(MainFormParts::memo(f, "Memo3")), QStringLiteral("メモ 😀\n二行目"));
    for (QPlainTextEdit* page : {MainFormParts::memo(f, "Memo2"), MainFormParts::memo(f, "Memo3")}) {
        EXPECT_FALSE(page->isReadOnly());
        EXPECT_FALSE(page->document()->isModified());
        EXPECT_EQ(page->document()->defaultFont(), page->font());
    }
    // The date change and the close find nothing to write.
    changeDate(QDate(2001, 2, 4));
    EXPECT_TRUE(closeForm());
    expectUntouched("ToDo.txt", todo);
    expectUntouched("Memo.txt", memo);
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(LargePageTest, closeWhileFillingLeavesTheFileAndItsEntryAlone)
{
    dir.write(QStringLiteral("ToDo.txt"), cp932(QStringLiteral("前回の ToDo")));
    dir.write(QStringLiteral("20010203.txt"), cp932(QStringLiteral("今日の日誌")));
    leaveJournalEntry("ToDo.txt", QStringLiteral("前回の ToDo と書きかけ"), 0);
    const Kept todo = kept("ToDo.txt");
    const Kept diary = kept("20010203.txt");
    TMainForm& f = make();
    ASSERT_TRUE(f.pageFilling(0));
    ASSERT_TRUE(f.pageFilling(3));
    // メモ has no file, so it is the user's at once.
    type(MainFormParts::memo(f, "Memo3"), QStringLiteral("今日のメモ"));
    EXPECT_TRUE(closeForm());
    expectUntouched("ToDo.txt", todo);
    // An empty diary page would delete its file.
    expectUntouched("20010203.txt", diary);
    EXPECT_EQ(file("Memo.txt"), cp932(QStringLiteral("今日のメモ")));
    // The earlier run's text is still there to be offered next time.
    EXPECT_EQ(entryNames(), QStringList{QStringLiteral("ToDo.txt.entry")});
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(LargePageTest, keysAndCommandsBeforeTheFillChangeNothing)
{
    dir.write(QStringLiteral("ToDo.txt"), cp932(QStringLiteral("元の文")));
    FixedClipboard board;
    TMainForm& f = make();
    f.setClipboard(&board);
    f.show();
    pageTabs(f)->setCurrentIndex(0);
    ASSERT_TRUE(f.pageFilling(0));
    MainFormParts::memo(f, "Memo2")->setFocus();
    QTest::keyClicks(MainFormParts::memo(f, "Memo2"), QStringLiteral("abc"));
    QTest::keyClick(MainFormParts::memo(f, "Memo2"), Qt::Key_Return);
    // Each command as the 編集 menu offers it.
    const auto command = [&f](const char* name) {
        Q_EMIT menu(f, "Edit1")->aboutToShow();
        action(f, name)->trigger();
    };
    for (const char* name : {"Paste1", "DateTime1", "Undo1", "SelectAll1", "Delete1", "Cut1"})
        command(name);
    EXPECT_TRUE(PageEditorText::text(MainFormParts::memo(f, "Memo2")).isEmpty());
    EXPECT_FALSE(MainFormParts::memo(f, "Memo2")->document()->isModified());
    waitForFills();
    EXPECT_EQ(PageEditorText::text(MainFormParts::memo(f, "Memo2")), QStringLiteral("元の文"));
    EXPECT_FALSE(MainFormParts::memo(f, "Memo2")->document()->isModified());
    // From here the page is the user's.
    MainFormParts::memo(f, "Memo2")->moveCursor(QTextCursor::End);
    QTest::keyClicks(MainFormParts::memo(f, "Memo2"), QStringLiteral("x"));
    command("Paste1");
    EXPECT_TRUE(closeForm());
    EXPECT_EQ(file("ToDo.txt"), cp932(QStringLiteral("元の文x貼り付け")));
}

TEST_F(LargePageTest, toolButtonsLeftEnabledBeforeAFillChangeNothingWhileItRuns)
{
    dir.write(QStringLiteral("20010204.txt"), cp932(QStringLiteral("四日の日誌")));
    FixedClipboard board;
    TMainForm& f = startFilled();
    f.setClipboard(&board);
    pageTabs(f)->setCurrentIndex(3);
    QPlainTextEdit* diary = MainFormParts::memo(f, "Memo7");
    type(diary, QStringLiteral("三日の日誌"));
    diary->selectAll();
    Q_EMIT menu(f, "Edit1")->aboutToShow(); // the buttons follow the selection shown then
    ASSERT_TRUE(action(f, "Cut3")->isEnabled());

    changeDate(QDate(2001, 2, 4));
    ASSERT_TRUE(f.pageFilling(3));
    ASSERT_TRUE(action(f, "Paste3")->isEnabled()) << "nothing asks the menu again before a press";
    const QString shownWhileFilling = PageEditorText::text(diary);
    action(f, "Cut3")->trigger();
    action(f, "Paste3")->trigger();
    EXPECT_EQ(PageEditorText::text(diary), shownWhileFilling);
    EXPECT_FALSE(diary->document()->isModified());
    waitForFills();
    EXPECT_EQ(PageEditorText::text(diary), QStringLiteral("四日の日誌"));
    EXPECT_FALSE(diary->document()->isModified());
    EXPECT_EQ(file("20010203.txt"), cp932(QStringLiteral("三日の日誌")));
}

TEST_F(LargePageTest, dateChangeWhileFillingShowsOnlyTheNewDatesPage)
{
    dir.write(QStringLiteral("ToDo.txt"), cp932(QStringLiteral("ToDo")));
    dir.write(QStringLiteral("20010203.txt"), cp932(QStringLiteral("三日の日誌")));
    dir.write(QStringLiteral("20010204.txt"), cp932(QStringLiteral("四日の日誌")));
    const Kept todo = kept("ToDo.txt");
    const Kept third = kept("20010203.txt");
    const Kept fourth = kept("20010204.txt");
    TMainForm& f = make();
    pageTabs(f)->setCurrentIndex(3);
    ASSERT_TRUE(f.pageFilling(3));
    changeDate(QDate(2001, 2, 4));
    waitForFills();
    QCoreApplication::processEvents();
    EXPECT_EQ(PageEditorText::text(MainFormParts::memo(f, "Memo7")), QStringLiteral("四日の日誌"));
    pageTabs(f)->setCurrentIndex(0);
    EXPECT_EQ(PageEditorText::text(MainFormParts::memo(f, "Memo2")), QStringLiteral("ToDo"));
    pageTabs(f)->setCurrentIndex(3);
    changeDate(QDate(2001, 2, 3));
    waitForFills();
    EXPECT_EQ(PageEditorText::text(MainFormParts::memo(f, "Memo7")), QStringLiteral("三日の日誌"));
    EXPECT_TRUE(closeForm());
    expectUntouched("ToDo.txt", todo);
    expectUntouched("20010203.txt", third);
    expectUntouched("20010204.txt", fourth);
}

TEST_F(LargePageTest, fileChangedOutsideWhileFillingIsKeptWithoutAQuestion)
{
    dir.write(QStringLiteral("ToDo.txt"), cp932(QStringLiteral("読み始めの ToDo")));
    make();
    ASSERT_TRUE(form->pageFilling(0));
    dir.write(QStringLiteral("ToDo.txt"), cp932(QStringLiteral("別のプログラムの ToDo")));
    EXPECT_TRUE(closeForm()); // a question would fail the test
    EXPECT_EQ(file("ToDo.txt"), cp932(QStringLiteral("別のプログラムの ToDo")));
}

TEST_F(LargePageTest, searchReadsTheFileOfAPageStillFilling)
{
    dir.write(QStringLiteral("ToDo.txt"), cp932(QStringLiteral("探す言葉")));
    TMainForm& f = make();
    action(f, "Find1")->trigger();
    const auto pageTexts = [&] {
        QStringList out;
        for (const auto& [path, text] : f.searchWindow()->OnPrepare().pageTexts)
            out.append(QFileInfo(path).fileName() + u'=' + text);
        return out;
    };
    ASSERT_TRUE(f.pageFilling(0));
    EXPECT_FALSE(pageTexts().join(u'|').contains(QStringLiteral("ToDo.txt")))
        << "an empty page on screen would hide the file's text";
    waitForFills();
    EXPECT_TRUE(pageTexts().contains(QStringLiteral("ToDo.txt=探す言葉")));
}

TEST_F(LargePageTest, externalEditorGetsTheWholePage)
{
    TempFolder tools;
    tools.write(QStringLiteral("append.sh"), "#!/bin/sh\nprintf '\\nadded' >> \"$1\"\n");
    QFile::setPermissions(tools.file(QStringLiteral("append.sh")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    dir.write(QStringLiteral("ToDo.txt"), cp932(QStringLiteral("一行目\r\n二行目")));
    editorPath = tools.file(QStringLiteral("append.sh")); // the editor the window starts with
    TMainForm& f = make();
    f.show();
    ASSERT_TRUE(f.pageFilling(0));
    action(f, "Exec1")->trigger();
    EXPECT_EQ(PageEditorText::text(MainFormParts::memo(f, "Memo2")), QStringLiteral("一行目\n二行目\nadded"));
    EXPECT_TRUE(MainFormParts::memo(f, "Memo2")->document()->isModified());
    EXPECT_TRUE(closeForm());
    EXPECT_EQ(file("ToDo.txt"), cp932(QStringLiteral("一行目\r\n二行目\r\nadded")));
}

TEST_F(LargePageTest, recoveryIsOfferedOnceThePageIsFilledAndItsTextStays)
{
    dir.write(QStringLiteral("ToDo.txt"), cp932(QStringLiteral("ファイルの ToDo")));
    leaveJournalEntry("ToDo.txt", QStringLiteral("復元する ToDo"), 0);
    TMainForm& f = make();
    f.show();
    f.offerRecovery();
    ASSERT_TRUE(f.pageFilling(0));
    EXPECT_TRUE(messages.shown().isEmpty()) << "asked before the page holds its file";
    ASSERT_TRUE(QTest::qWaitFor([&] { return messages.shown().size() == 1; }, 20000));
    QCoreApplication::processEvents();
    EXPECT_EQ(PageEditorText::text(MainFormParts::memo(f, "Memo2")), QStringLiteral("復元する ToDo"));
    EXPECT_TRUE(MainFormParts::memo(f, "Memo2")->document()->isModified());
    EXPECT_TRUE(closeForm());
    EXPECT_EQ(file("ToDo.txt"), cp932(QStringLiteral("復元する ToDo")));
}

TEST_F(LargePageTest, backgroundEntryHoldsTheTextAndTheSaveDropsIt)
{
    dir.write(QStringLiteral("ToDo.txt"), cp932(QStringLiteral("ToDo\r\n")));
    TMainForm& f = startFilled();
    type(MainFormParts::memo(f, "Memo2"), QStringLiteral("追記"));
    f.journalAfterPause();
    const QList<RecoveryJournal::Entry> entries = f.journal().entries(folder());
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries[0].bytes, cp932(QStringLiteral("ToDo\r\n追記")));
    EXPECT_EQ(entries[0].label, QStringLiteral("ToDo"));
    // Typed again and closed before the entry is written: the close's removal comes after it.
    type(MainFormParts::memo(f, "Memo2"), QStringLiteral("、さらに"));
    f.journalAfterPause();
    EXPECT_TRUE(closeForm());
    EXPECT_EQ(file("ToDo.txt"), cp932(QStringLiteral("ToDo\r\n追記、さらに")));
    EXPECT_TRUE(entryNames().isEmpty());
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(LargePageTest, backgroundEntryHoldsWhatTheSaveWrites)
{
    // Empty lines, a last line without break, then characters the page keeps as typed.
    dir.write(QStringLiteral("ToDo.txt"), cp932(QStringLiteral("一\r\n\r\n\r\n二")));
    TMainForm& f = startFilled();
    type(memo(f, "Memo2"), QStringLiteral("\n三"));
    f.journalAfterPause();
    QList<RecoveryJournal::Entry> entries = f.journal().entries(folder());
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries[0].bytes, cp932(QStringLiteral("一\r\n\r\n\r\n二\r\n三")));
    type(memo(f, "Memo2"), QStringLiteral("\u00A0\u2028😀\n"));
    f.journalAfterPause();
    entries = f.journal().entries(folder());
    ASSERT_EQ(entries.size(), 1);
    const QByteArray journaled = entries[0].bytes;
    EXPECT_TRUE(closeForm());
    EXPECT_EQ(file("ToDo.txt"), journaled);
    EXPECT_EQ(AnsiText::decode(journaled), QStringLiteral("一\r\n\r\n\r\n二\r\n三\u00A0\u2028😀\r\n"));
}

TEST_F(LargePageTest, backgroundJournalFailureIsToldOnce)
{
    stateDir.write(QStringLiteral("blocked"), "a file where the journal's folder should be");
    journalRoot = stateDir.file(QStringLiteral("blocked"));
    dir.write(QStringLiteral("ToDo.txt"), cp932(QStringLiteral("ToDo")));
    TMainForm& f = startFilled();
    for (int pause = 0; pause < 3; ++pause) {
        type(MainFormParts::memo(f, "Memo2"), QStringLiteral("x"));
        f.journalAfterPause();
        f.journal().finishBackground();
        QCoreApplication::processEvents();
    }
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_TRUE(messages.shown()[0].text.startsWith(QStringLiteral("入力を復元用に保管できませんでした。")));
    EXPECT_TRUE(messages.shown()[0].text.contains(QStringLiteral("に書き込めません")));
    EXPECT_TRUE(closeForm());
    EXPECT_EQ(file("ToDo.txt"), cp932(QStringLiteral("ToDoxxx")));
}

} // namespace
