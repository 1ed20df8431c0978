#include "MainFormFixture.h"

#include "controls/jvStringGrid.h"
#include "schedule/RecoveryJournal.h"
#include "platform/AnsiText.h"
#include "platform/ProfileFile.h"

#include <QDir>
#include <QElapsedTimer>

namespace {

QByteArray cp932(const QString& text)
{
    return AnsiText::encode(text);
}

class RecoveryTest : public MainFormFixture {
protected:
    QList<RecoveryJournal::Entry> entries() const { return form->journal().entries(folder()); }
    QStringList targets() const
    {
        QStringList out;
        for (const RecoveryJournal::Entry& e : entries())
            out.append(QFileInfo(e.target).fileName());
        out.sort();
        return out;
    }
    // Files beside the data files that a conflict or a restore wrote as copies.
    QStringList copies() const
    {
        return QDir(dir.path()).entryList({QStringLiteral("*QuavSchedulerの入力*")}, QDir::Files);
    }
    // Another program rewrites a file the window has read.
    void writeOutside(const char* name, const QByteArray& bytes) { dir.write(QLatin1String(name), bytes); }
    // A crash: the window goes without its close sequence.
    void crash() { form.reset(); }
};

TEST_F(RecoveryTest, journalIsWrittenShortlyAfterTypingAndDroppedBySave)
{
    TMainForm& f = start();
    grid(f)->setCells(1, 5, QStringLiteral("会議"));
    type(memo(f, "Memo7"), QStringLiteral("書きかけの日誌"));
    EXPECT_TRUE(entries().isEmpty()) << "written on the keystroke path";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !entries().isEmpty(); }, 3 * TMainForm::kJournalDelayMs));
    // Unchanged pages stay out of it.
    EXPECT_EQ(targets(), QStringList({QStringLiteral("200102.csv"), QStringLiteral("20010203.txt")}));
    for (const RecoveryJournal::Entry& e : entries()) {
        if (e.page == 3) {
            EXPECT_EQ(e.bytes, cp932(QStringLiteral("書きかけの日誌")));
            EXPECT_EQ(e.label, QStringLiteral("2001年02月03日の日誌"));
        } else {
            EXPECT_TRUE(e.bytes.contains(cp932(QStringLiteral("5日(月),会議,,"))));
        }
    }

    // Leaving the month writes both files and the journal is empty again.
    changeDate(QDate(2001, 3, 1));
    EXPECT_TRUE(entries().isEmpty());
    EXPECT_TRUE(closeForm());
    EXPECT_EQ(file("20010203.txt"), cp932(QStringLiteral("書きかけの日誌")));
    EXPECT_TRUE(QDir(stateDir.path()).entryList({QStringLiteral("*.entry")}, QDir::Files).isEmpty());
}

TEST_F(RecoveryTest, steadyTypingIsJournaledWithoutWaitingForAPause)
{
    TMainForm& f = start();
    QElapsedTimer typing;
    typing.start();
    // A key every 100 ms never leaves a pause as long as the journal delay.
    while (entries().isEmpty() && typing.elapsed() < 3 * TMainForm::kJournalDelayMs) {
        type(memo(f, "Memo2"), QStringLiteral("a"));
        QTest::qWait(100);
    }
    EXPECT_EQ(targets(), QStringList({QStringLiteral("ToDo.txt")}));
}

TEST_F(RecoveryTest, crashedTextsAreOfferedAndRestoredAsModified)
{
    TMainForm& f = start();
    type(memo(f, "Memo7"), QStringLiteral("三日の日誌"));
    type(memo(f, "Memo2"), QStringLiteral("やること"));
    grid(f)->setCells(2, 3, QStringLiteral("★打合せ"));
    f.journalNow();
    // Another day's text left behind, as after moving on from a page that could not be written.
    dir.write(QStringLiteral("20010201.txt"), cp932(QStringLiteral("一日の日誌")));
    RecoveryJournal::Entry earlier;
    earlier.target = dir.file(QStringLiteral("20010201.txt"));
    earlier.label = QStringLiteral("2001年02月01日の日誌");
    earlier.page = 3;
    earlier.base = DiskStamp::take(earlier.target);
    earlier.taken = now.addDays(-2);
    earlier.bytes = cp932(QStringLiteral("一日の日誌に追記"));
    RecoveryJournal(stateDir.path()).put(earlier);
    crash();

    now = QDateTime(QDate(2001, 2, 3), QTime(12, 0));
    TMainForm& g = start();
    g.offerRecovery();
    ASSERT_EQ(messages.shown().size(), 1);
    const QString question = messages.shown().at(0).text;
    for (const char* label : {"2001年02月01日の日誌", "2001年02月03日の日誌", "ToDo", "2001年02月の予定表"})
        EXPECT_TRUE(question.contains(QString::fromUtf8(label))) << question.toStdString();
    EXPECT_EQ(messages.shown().at(0).buttons, MessageService::Buttons::OkCancel);

    // Today's pages and grid take their texts back, unsaved; the other day's file is written.
    EXPECT_EQ(memo(g, "Memo7")->toPlainText(), QStringLiteral("三日の日誌"));
    EXPECT_TRUE(memo(g, "Memo7")->document()->isModified());
    EXPECT_EQ(memo(g, "Memo2")->toPlainText(), QStringLiteral("やること"));
    EXPECT_EQ(grid(g)->Cells(2, 3), QStringLiteral("★打合せ"));
    EXPECT_EQ(file("20010201.txt"), cp932(QStringLiteral("一日の日誌に追記")));
    EXPECT_TRUE(copies().isEmpty());
    g.offerRecovery(); // once per run
    EXPECT_EQ(messages.shown().size(), 1);

    EXPECT_TRUE(closeForm());
    EXPECT_EQ(file("20010203.txt"), cp932(QStringLiteral("三日の日誌")));
    EXPECT_EQ(file("ToDo.txt"), cp932(QStringLiteral("やること")));
    EXPECT_TRUE(file("200102.csv").contains(cp932(QStringLiteral("3日(土),,★打合せ,"))));
    EXPECT_TRUE(QDir(stateDir.path()).entryList({QStringLiteral("*.entry")}, QDir::Files).isEmpty());
}

TEST_F(RecoveryTest, declinedTextsAreMovedAsideNotDeleted)
{
    TMainForm& f = start();
    type(memo(f, "Memo3"), QStringLiteral("メモの下書き"));
    f.journalNow();
    const QString journalFolder = f.journal().folderFor(folder());
    crash();

    messages.answerNext(MessageService::Answer::Cancel);
    TMainForm& g = start();
    g.offerRecovery();
    EXPECT_EQ(messages.shown().size(), 1);
    EXPECT_TRUE(memo(g, "Memo3")->toPlainText().isEmpty());
    EXPECT_TRUE(entries().isEmpty());
    QStringList kept;
    for (const QString& sub :
         QDir(journalFolder + QStringLiteral("/set-aside")).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        kept += QDir(journalFolder + QStringLiteral("/set-aside/") + sub).entryList(QDir::Files);
    EXPECT_EQ(kept, QStringList({QStringLiteral("Memo.txt.entry")}));
    EXPECT_TRUE(closeForm());
    // Asked once: set-aside texts are not offered again.
    start().offerRecovery();
    EXPECT_EQ(messages.shown().size(), 1);
}

TEST_F(RecoveryTest, entryWhoseFileChangedSinceIsRestoredAsACopy)
{
    dir.write(QStringLiteral("ToDo.txt"), "base");
    TMainForm& f = start();
    type(memo(f, "Memo2"), QStringLiteral(" and mine"));
    f.journalNow();
    crash();
    writeOutside("ToDo.txt", "synced from elsewhere");

    TMainForm& g = start();
    g.offerRecovery();
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_TRUE(messages.shown().at(0).text.contains(QStringLiteral("別名のファイル")));
    EXPECT_EQ(file("ToDo.txt"), "synced from elsewhere");
    EXPECT_EQ(memo(g, "Memo2")->toPlainText(), QStringLiteral("synced from elsewhere"));
    ASSERT_EQ(copies().size(), 1);
    EXPECT_EQ(dir.read(copies().at(0)), "base and mine");
    EXPECT_TRUE(entries().isEmpty());
}

struct OutsideCase {
    OutsideEditChoice choice;
    QByteArray inFile;  // ToDo.txt afterwards
    QString onScreen;   // the ToDo page afterwards
    bool stillModified; // a written page matches its file again, so it is unmodified
    QByteArray inCopy;  // the copy beside it, empty for none
};

TEST_F(RecoveryTest, pageChangedOutsideMeetsEachChoice)
{
    const OutsideCase cases[] = {
        {OutsideEditChoice::KeepMine, "old mine", QStringLiteral("old mine"), false, {}},
        {OutsideEditChoice::TakeFile, "theirs!!", QStringLiteral("theirs!!"), false, {}},
        {OutsideEditChoice::KeepBoth, "theirs!!", QStringLiteral("theirs!!"), false, "old mine"},
    };
    for (const OutsideCase& c : cases) {
        for (const QString& name : copies())
            QFile::remove(dir.file(name));
        dir.write(QStringLiteral("ToDo.txt"), "old");
        QStringList asked;
        askOutsideEdit = [&](const QString& path) {
            asked.append(path);
            return c.choice;
        };
        TMainForm& f = start();
        type(memo(f, "Memo2"), QStringLiteral(" mine"));
        writeOutside("ToDo.txt", "theirs!!"); // same size as ours: only the bytes tell
        changeDate(QDate(2001, 2, 4));
        EXPECT_EQ(asked, QStringList({dir.file(QStringLiteral("ToDo.txt"))}));
        EXPECT_EQ(file("ToDo.txt"), c.inFile);
        EXPECT_EQ(memo(f, "Memo2")->toPlainText(), c.onScreen);
        EXPECT_EQ(memo(f, "Memo2")->document()->isModified(), c.stillModified);
        EXPECT_EQ(copies().size(), c.inCopy.isEmpty() ? 0 : 1);
        if (!c.inCopy.isEmpty()) {
            EXPECT_EQ(dir.read(copies().at(0)), c.inCopy);
        }
        // Settled once: the close writes without asking again.
        EXPECT_TRUE(closeForm());
        EXPECT_EQ(asked.size(), 1);
        EXPECT_TRUE(messages.shown().isEmpty()) << messages.texts().join(u'|').toStdString();
        EXPECT_TRUE(RecoveryJournal(stateDir.path()).entries(folder()).isEmpty());
    }
}

// A month without a file shows an empty grid: nothing of the user's to keep until a cell changes.
TEST_F(RecoveryTest, untouchedNewMonthIsNotJournaled)
{
    TMainForm& f = start();
    f.journalNow();
    EXPECT_TRUE(targets().isEmpty());
    grid(f)->setCells(1, 3, QStringLiteral("会議"));
    f.journalNow();
    EXPECT_EQ(targets(), QStringList({QStringLiteral("200102.csv")}));
}

// Typed and taken back leaves the page as its file was read; when another program changed the
// file meanwhile and the user keeps the page, the page must still reach the file.
TEST_F(RecoveryTest, keptPageEqualToItsFirstReadingStillOverwritesTheOtherProgram)
{
    dir.write(QStringLiteral("ToDo.txt"), "old");
    askOutsideEdit = [](const QString&) { return OutsideEditChoice::KeepMine; };
    TMainForm& f = start();
    type(memo(f, "Memo2"), QStringLiteral("!"));
    QTextCursor cursor = memo(f, "Memo2")->textCursor();
    cursor.deletePreviousChar();
    ASSERT_TRUE(memo(f, "Memo2")->document()->isModified());
    writeOutside("ToDo.txt", "theirs");
    changeDate(QDate(2001, 2, 4));
    EXPECT_EQ(file("ToDo.txt"), "old");
    EXPECT_TRUE(copies().isEmpty());
}

TEST_F(RecoveryTest, monthChangedOutsideIsAskedOnlyWhenTheGridChangedToo)
{
    int asked = 0;
    askOutsideEdit = [&](const QString&) {
        ++asked;
        return OutsideEditChoice::KeepBoth;
    };
    start();
    changeDate(QDate(2001, 3, 1));
    changeDate(QDate(2001, 2, 3)); // 200102.csv exists now
    const QByteArray theirs = file("200102.csv").replace("3日(土),,,", "3日(土),外から,,");
    writeOutside("200102.csv", theirs);
    EXPECT_TRUE(closeForm());
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(file("200102.csv"), theirs);

    TMainForm& g = start();
    grid(g)->setCells(1, 4, QStringLiteral("こちら"));
    // Only the time moves: the same bytes passed over by a sync tool are no change of anyone's.
    QFile touched(dir.file(QStringLiteral("200102.csv")));
    ASSERT_TRUE(touched.open(QIODevice::ReadWrite));
    touched.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime);
    touched.close();
    EXPECT_TRUE(closeForm());
    EXPECT_EQ(asked, 0);
    EXPECT_TRUE(file("200102.csv").contains(cp932(QStringLiteral("4日(日),こちら,,"))));
    EXPECT_TRUE(copies().isEmpty());

    // Other bytes behind the moved time are asked about.
    TMainForm& h = start();
    grid(h)->setCells(1, 5, QStringLiteral("さらに"));
    writeOutside("200102.csv", theirs);
    EXPECT_TRUE(closeForm());
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(file("200102.csv"), theirs);
    ASSERT_EQ(copies().size(), 1);
    EXPECT_TRUE(dir.read(copies().at(0)).contains(cp932(QStringLiteral("5日(月),さらに,,"))));
}

TEST_F(RecoveryTest, touchedPageIsNoConflict)
{
    dir.write(QStringLiteral("ToDo.txt"), "old");
    TMainForm& f = start();
    type(memo(f, "Memo2"), QStringLiteral(" and mine"));
    QFile touched(dir.file(QStringLiteral("ToDo.txt")));
    ASSERT_TRUE(touched.open(QIODevice::ReadWrite));
    touched.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime);
    touched.close();
    changeDate(QDate(2001, 2, 4)); // no question: askOutsideEdit fails the test when asked
    EXPECT_EQ(file("ToDo.txt"), "old and mine");
    EXPECT_TRUE(copies().isEmpty());
}

TEST_F(RecoveryTest, sessionEndSavesWithoutAskingAndKeepsBoth)
{
    dir.write(QStringLiteral("Memo.txt"), "memo");
    TMainForm& f = start();
    type(memo(f, "Memo7"), QStringLiteral("終了直前"));
    type(memo(f, "Memo3"), QStringLiteral(" edited"));
    grid(f)->setCells(1, 3, QStringLiteral("予定あり"));
    writeOutside("Memo.txt", "MEMO");
    askOutsideEdit = [](const QString&) {
        ADD_FAILURE() << "nobody can answer at the end of the session";
        return OutsideEditChoice::KeepMine;
    };
    f.closeUnattended();
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_EQ(file("20010203.txt"), cp932(QStringLiteral("終了直前")));
    EXPECT_EQ(file("Memo.txt"), "MEMO");
    ASSERT_EQ(copies().size(), 1);
    EXPECT_EQ(dir.read(copies().at(0)), "memo edited");
    EXPECT_TRUE(file("200102.csv").contains(cp932(QStringLiteral("予定あり"))));
    EXPECT_TRUE(ProfileFile::get(ini(), QStringLiteral("Pos"), QStringLiteral("Width"), {}) ==
                QStringLiteral("617"));
    EXPECT_TRUE(entries().isEmpty());
    // The window then closes without running the sequence a second time.
    EXPECT_TRUE(closeForm());
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(RecoveryTest, sessionEndJournalsWhatCannotBeWritten)
{
    // The folder goes away while the program runs; a folder missing at start is asked about.
    QDir(dir.path()).mkdir(QStringLiteral("gone"));
    ProfileFile::put(ini(), QStringLiteral("Data"), QStringLiteral("Folder"),
                     dir.file(QStringLiteral("gone/")));
    TMainForm& f = start();
    QDir(dir.file(QStringLiteral("gone"))).removeRecursively();
    type(memo(f, "Memo2"), QStringLiteral("失いたくない"));
    grid(f)->setCells(1, 3, QStringLiteral("予定"));
    f.closeUnattended();
    EXPECT_TRUE(messages.shown().isEmpty()) << messages.texts().join(u'|').toStdString();
    const QList<RecoveryJournal::Entry> kept = f.journal().entries(dir.file(QStringLiteral("gone/")));
    QStringList names;
    for (const RecoveryJournal::Entry& e : kept)
        names.append(QFileInfo(e.target).fileName());
    names.sort();
    EXPECT_EQ(names, QStringList({QStringLiteral("200102.csv"), QStringLiteral("ToDo.txt")}));
}

TEST_F(RecoveryTest, unwritablePageNoLongerKeepsTheUserOnOneDate)
{
    // The folder goes away while the program runs; a folder missing at start is asked about.
    QDir(dir.path()).mkdir(QStringLiteral("gone"));
    ProfileFile::put(ini(), QStringLiteral("Data"), QStringLiteral("Folder"),
                     dir.file(QStringLiteral("gone/")));
    TMainForm& f = start();
    QDir(dir.file(QStringLiteral("gone"))).removeRecursively();
    type(memo(f, "Memo7"), QStringLiteral("三日の日誌"));
    type(memo(f, "Memo2"), QStringLiteral("ToDo も"));
    messages.answerNext(MessageService::Answer::Ok); // 日誌 not written
    messages.answerNext(MessageService::Answer::Ok); // ToDo not written
    messages.answerNext(MessageService::Answer::Ok); // move on
    changeDate(QDate(2001, 2, 10));
    ASSERT_EQ(messages.shown().size(), 3);
    EXPECT_EQ(messages.shown().at(2).buttons, MessageService::Buttons::OkCancel);
    EXPECT_EQ(f.selectedDate(), QDate(2001, 2, 10));
    EXPECT_EQ(f.dataFile(DataFileNames::Kind::Diary), dir.file(QStringLiteral("gone/20010210.txt")));
    EXPECT_TRUE(memo(f, "Memo7")->toPlainText().isEmpty());
    // ToDo belongs to no date: its text stays on screen, still unsaved.
    EXPECT_EQ(memo(f, "Memo2")->toPlainText(), QStringLiteral("ToDo も"));
    EXPECT_TRUE(memo(f, "Memo2")->document()->isModified());
    QStringList names;
    for (const RecoveryJournal::Entry& e : f.journal().entries(dir.file(QStringLiteral("gone/"))))
        names.append(QFileInfo(e.target).fileName());
    names.sort();
    EXPECT_EQ(names, QStringList({QStringLiteral("20010203.txt"), QStringLiteral("ToDo.txt")}));

    // Back on the day left behind, its text is there again, unsaved; nothing asks twice.
    changeDate(QDate(2001, 2, 3));
    EXPECT_EQ(messages.shown().size(), 3) << messages.texts().join(u'|').toStdString();
    EXPECT_EQ(memo(f, "Memo7")->toPlainText(), QStringLiteral("三日の日誌"));
    EXPECT_TRUE(memo(f, "Memo7")->document()->isModified());
    f.journalNow();
    EXPECT_EQ(f.journal().entries(dir.file(QStringLiteral("gone/"))).size(), 2);
    crash();

    // Next start, days later, with the folder there: the day left behind gets its text.
    QDir(dir.path()).mkdir(QStringLiteral("gone"));
    messages.clear();
    now = QDateTime(QDate(2001, 2, 10), QTime(9, 0));
    TMainForm& g = start();
    g.offerRecovery();
    EXPECT_EQ(dir.read(QStringLiteral("gone/20010203.txt")), cp932(QStringLiteral("三日の日誌")));
    EXPECT_EQ(memo(g, "Memo2")->toPlainText(), QStringLiteral("ToDo も"));
}

} // namespace
