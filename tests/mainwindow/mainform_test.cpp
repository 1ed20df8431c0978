#include "MainFormFixture.h"

#include "controls/jvStringGrid.h"
#include "platform/AnsiText.h"
#include "platform/ProfileFile.h"

#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabWidget>

namespace {

QByteArray cp932(const QString& text)
{
    return AnsiText::encode(text);
}

class MainFormTest : public MainFormFixture {};

TEST_F(MainFormTest, firstStartShowsTodayAndCloseWritesEverything)
{
    TMainForm& f = start();
    EXPECT_EQ(f.windowTitle(), QStringLiteral("QuavScheduler")) << messages.texts().join(u'|').toStdString();
    EXPECT_TRUE(messages.shown().isEmpty()) << messages.texts().join(u'|').toStdString();
    EXPECT_EQ(f.size(), QSize(617, 461));
    EXPECT_EQ(pageTabs(f)->currentIndex(), 0);
    EXPECT_EQ(grid(f)->ColCount(), 4);
    EXPECT_EQ(grid(f)->RowCount(), 29);
    EXPECT_EQ(grid(f)->Row(), 3);
    EXPECT_EQ(grid(f)->Cells(0, 3), QStringLiteral("3日(土)"));
    EXPECT_EQ(grid(f)->Cells(1, 0), QStringLiteral("予定1"));
    EXPECT_EQ(f.selectedDate(), QDate(2001, 2, 3));
    EXPECT_EQ(f.settings().dataFolder, folder());
    EXPECT_EQ(label(f, "StatusPanel")->text(), QStringLiteral("2001年02月03日"));
    EXPECT_EQ(label(f, "lblThisMonth")->text(), QStringLiteral(" 2001年 2月"));

    ASSERT_TRUE(closeForm());
    EXPECT_TRUE(messages.shown().isEmpty()) << messages.texts().join(u'|').toStdString();

    const QString path = ini();
    for (const char* key :
         {"Top", "Left", "Width", "Height", "CalWidth", "CalHeight", "StartWeek", "ActivePage"})
        EXPECT_NE(ProfileFile::get(path, QStringLiteral("Pos"), QLatin1String(key), QStringLiteral("-")),
                  QStringLiteral("-"))
            << key;
    EXPECT_EQ(ProfileFile::get(path, QStringLiteral("Pos"), QStringLiteral("Width"), {}),
              QStringLiteral("617"));
    EXPECT_EQ(ProfileFile::get(path, QStringLiteral("Cal"), QStringLiteral("SatColor"), {}),
              QStringLiteral("16636124"));
    EXPECT_EQ(ProfileFile::get(path, QStringLiteral("Cal"), QStringLiteral("MarkupStr9"), {}),
              QStringLiteral("▽"));
    EXPECT_EQ(ProfileFile::get(path, QStringLiteral("Cal"), QStringLiteral("MarkupColor0"), {}),
              QStringLiteral("5561971"));
    EXPECT_EQ(ProfileFile::get(path, QStringLiteral("Memo"), QStringLiteral("CharSet"), {}),
              QStringLiteral("128"));
    EXPECT_EQ(ProfileFile::get(path, QStringLiteral("Memo"), QStringLiteral("FontStyleBold"), {}),
              QStringLiteral("0"));
    EXPECT_EQ(ProfileFile::get(path, QStringLiteral("Memo"), QStringLiteral("Editor1"), {}),
              QStringLiteral("/usr/bin/true"));
    EXPECT_EQ(ProfileFile::get(path, QStringLiteral("Data"), QStringLiteral("Folder"), {}), folder());
    for (int c = 0; c <= 3; ++c)
        EXPECT_EQ(ProfileFile::get(path, QStringLiteral("Sheet"), QStringLiteral("ColWidth%1").arg(c), {}),
                  QStringLiteral("50"));
    EXPECT_EQ(ProfileFile::get(path, QStringLiteral("MemoFont"), QStringLiteral("prop_FontName"), {}),
              QStringLiteral("ＭＳ ゴシック"));
    EXPECT_EQ(ProfileFile::get(path, QStringLiteral("MemoFont"), QStringLiteral("prop_FontCharset"), {}),
              QStringLiteral("128"));
    // The caption list is stored only when the user edits it.
    EXPECT_FALSE(AnsiText::decode(dir.read(QStringLiteral("QuavScheduler.ini")))
                     .contains(QStringLiteral("[SchItem]")));

    const QStringList lines = AnsiText::splitLines(AnsiText::decode(file("200102.csv")));
    ASSERT_EQ(lines.size(), 29);
    EXPECT_EQ(lines.first(), QStringLiteral(",予定1,予定2,予定3"));
    EXPECT_EQ(lines.at(3), QStringLiteral("3日(土),,,"));
    EXPECT_TRUE(file("200102.csv").endsWith("\r\n"));
    // Nothing was typed: no page file appears.
    EXPECT_FALSE(has("ToDo.txt"));
    EXPECT_FALSE(has("20010203.txt"));
}

TEST_F(MainFormTest, dateChangeAcrossMonthWritesOldMonthAndPages)
{
    now = QDateTime(QDate(2001, 1, 31), QTime(12, 0));
    TMainForm& f = start();
    type(memo(f, "Memo7"), QStringLiteral("日誌の本文"));
    type(memo(f, "Memo1"), QStringLiteral("予定の本文"));
    grid(f)->setCells(1, 31, QStringLiteral("大晦日前"));
    changeDate(QDate(2001, 2, 1));

    EXPECT_EQ(file("20010131.txt"), cp932(QStringLiteral("日誌の本文")));
    EXPECT_EQ(file("Sch20010131.txt"), cp932(QStringLiteral("予定の本文")));
    const QStringList january = AnsiText::splitLines(AnsiText::decode(file("200101.csv")));
    ASSERT_EQ(january.size(), 32);
    EXPECT_EQ(january.at(31), QStringLiteral("31日(水),大晦日前,,"));
    EXPECT_FALSE(has("200102.csv"));
    EXPECT_TRUE(memo(f, "Memo7")->toPlainText().isEmpty());
    EXPECT_EQ(grid(f)->RowCount(), 29);
    EXPECT_EQ(grid(f)->Row(), 1);
    EXPECT_EQ(f.dataFile(DataFileNames::Kind::Month), folder() + QStringLiteral("200102.csv"));
    EXPECT_EQ(f.dataFile(DataFileNames::Kind::Diary), folder() + QStringLiteral("20010201.txt"));
    EXPECT_EQ(label(f, "StatusPanel")->text(), QStringLiteral("2001年02月01日"));

    // Back again: the January month and its pages return.
    changeDate(QDate(2001, 1, 31));
    EXPECT_EQ(memo(f, "Memo7")->toPlainText(), QStringLiteral("日誌の本文"));
    EXPECT_EQ(grid(f)->Cells(1, 31), QStringLiteral("大晦日前"));
    EXPECT_TRUE(has("200102.csv")); // a month left without typing still gets its file
}

TEST_F(MainFormTest, dateChangeInsideMonthWritesNoMonthFile)
{
    TMainForm& f = start();
    grid(f)->setCells(2, 10, QStringLiteral("x"));
    changeDate(QDate(2001, 2, 10));
    EXPECT_FALSE(has("200102.csv"));
    EXPECT_EQ(grid(f)->Row(), 10);
    EXPECT_EQ(grid(f)->Cells(2, 10), QStringLiteral("x"));
}

TEST_F(MainFormTest, dateChangeAcrossYearLoadsTheOtherYearsMonth)
{
    dir.write(QStringLiteral("200201.csv"), cp932(QStringLiteral(",a,b\r\n1日(火),新年,\r\n")));
    now = QDateTime(QDate(2001, 12, 31), QTime(8, 0));
    TMainForm& f = start();
    changeDate(QDate(2002, 1, 1));
    EXPECT_TRUE(has("200112.csv"));
    // The captions follow the current list; the extra column of the file is cut off.
    EXPECT_EQ(grid(f)->ColCount(), 4);
    EXPECT_EQ(grid(f)->RowCount(), 2);
    EXPECT_EQ(grid(f)->Cells(1, 0), QStringLiteral("予定1"));
    EXPECT_EQ(grid(f)->Cells(1, 1), QStringLiteral("新年"));
    EXPECT_EQ(label(f, "lblThisMonth")->text(), QStringLiteral(" 2002年 1月"));
}

TEST_F(MainFormTest, pageRules)
{
    dir.write(QStringLiteral("ToDo.txt"), "one\ntwo");
    TMainForm& f = start();
    // A lone-LF file shows its lines and goes back with CR LF once modified.
    EXPECT_EQ(memo(f, "Memo2")->toPlainText(), QStringLiteral("one\ntwo"));
    EXPECT_FALSE(memo(f, "Memo2")->document()->isModified());
    changeDate(QDate(2001, 2, 4));
    EXPECT_EQ(file("ToDo.txt"), QByteArray("one\ntwo")); // not modified, not written
    type(memo(f, "Memo2"), QStringLiteral("\nthree"));
    // A single line break is a text, not an empty page.
    type(memo(f, "Memo7"), QStringLiteral("\n"));
    changeDate(QDate(2001, 2, 5));
    EXPECT_EQ(file("ToDo.txt"), QByteArray("one\r\ntwo\r\nthree"));
    EXPECT_EQ(file("20010204.txt"), QByteArray("\r\n"));

    // Emptied: the diary file goes, the ToDo file stays empty.
    changeDate(QDate(2001, 2, 4));
    empty(memo(f, "Memo7"));
    empty(memo(f, "Memo2"));
    changeDate(QDate(2001, 2, 5));
    EXPECT_FALSE(has("20010204.txt"));
    EXPECT_TRUE(has("ToDo.txt"));
    EXPECT_EQ(file("ToDo.txt"), QByteArray());
}

TEST_F(MainFormTest, pageFilledBehindAnotherTabShowsFromItsStart)
{
    dir.write(QStringLiteral("20010210.txt"), cp932(QStringLiteral("一行目\r\n二行目")));
    TMainForm& f = start();
    ASSERT_EQ(pageTabs(f)->currentIndex(), 0);
    changeDate(QDate(2001, 2, 10));
    EXPECT_EQ(memo(f, "Memo7")->toPlainText(), QStringLiteral("一行目\n二行目"));
    EXPECT_FALSE(memo(f, "Memo7")->document()->isModified());
    pageTabs(f)->setCurrentIndex(3);
    EXPECT_EQ(memo(f, "Memo7")->textCursor().position(), 0);
    // Typing there is an edit like any other and is saved.
    type(memo(f, "Memo7"), QStringLiteral("\n三行目"));
    changeDate(QDate(2001, 2, 11));
    EXPECT_EQ(file("20010210.txt"), cp932(QStringLiteral("一行目\r\n二行目\r\n三行目")));
}

TEST_F(MainFormTest, tabsAndAnniversariesAcrossYears)
{
    TMainForm& f = start();
    type(memo(f, "Memo4"), QStringLiteral("誕生日\t祝う"));
    changeDate(QDate(2002, 2, 3));
    EXPECT_EQ(memo(f, "Memo4")->toPlainText(), QStringLiteral("誕生日\t祝う"));
    EXPECT_EQ(file("Anniv0203.txt"), cp932(QStringLiteral("誕生日\t祝う")));
    EXPECT_EQ(f.dataFile(DataFileNames::Kind::Anniv), folder() + QStringLiteral("Anniv0203.txt"));
}

TEST_F(MainFormTest, todayReturnsAndSavesPages)
{
    TMainForm& f = start();
    changeDate(QDate(2001, 3, 20));
    type(memo(f, "Memo1"), QStringLiteral("春"));
    action(f, "Today1")->trigger();
    EXPECT_EQ(f.selectedDate(), QDate(2001, 2, 3));
    EXPECT_EQ(file("Sch20010320.txt"), cp932(QStringLiteral("春")));
    // Today while today is selected saves and reloads the pages.
    type(memo(f, "Memo7"), QStringLiteral("今日"));
    action(f, "Today1")->trigger();
    EXPECT_EQ(file("20010203.txt"), cp932(QStringLiteral("今日")));
    EXPECT_EQ(memo(f, "Memo7")->toPlainText(), QStringLiteral("今日"));
}

TEST_F(MainFormTest, clickingADayRowSelectsThatDay)
{
    dir.write(QStringLiteral("20010215.txt"), cp932(QStringLiteral("十五日")));
    TMainForm& f = start();
    const QRect cell = grid(f)->CellRect(2, 15);
    ASSERT_FALSE(cell.isEmpty());
    QTest::mouseClick(grid(f)->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(f.selectedDate(), QDate(2001, 2, 15));
    EXPECT_EQ(memo(f, "Memo7")->toPlainText(), QStringLiteral("十五日"));
    EXPECT_EQ(grid(f)->Col(), 2);
    EXPECT_EQ(grid(f)->Row(), 15);
}

TEST_F(MainFormTest, clickOnARowThatIsNoDayIsReportedAndChangesNothing)
{
    QByteArray csv = cp932(QStringLiteral(",予定1\r\n"));
    for (int d = 1; d <= 31; ++d)
        csv += cp932(QStringLiteral("%1日,\r\n").arg(d));
    dir.write(QStringLiteral("200102.csv"), csv);
    TMainForm& f = start();
    ASSERT_EQ(grid(f)->RowCount(), 32);
    grid(f)->setTopRow(20);
    const QRect cell = grid(f)->CellRect(1, 30);
    ASSERT_FALSE(cell.isEmpty()) << "row 30 must be in view";
    QTest::mouseClick(grid(f)->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("日付のエンコードに対する引数が無効です")});
    EXPECT_EQ(f.selectedDate(), QDate(2001, 2, 3));
    EXPECT_EQ(label(f, "StatusPanel")->text(), QStringLiteral("2001年02月03日"));
}

TEST_F(MainFormTest, boldDaysFollowTheYearShown)
{
    dir.write(QStringLiteral("20010203.txt"), "x");
    dir.write(QStringLiteral("Sch20010214.txt"), "x");
    dir.write(QStringLiteral("Anniv0301.txt"), "x");
    dir.write(QStringLiteral("20011225.txt"), "x");
    dir.write(QStringLiteral("20001226.txt"), "x");
    dir.write(QStringLiteral("200102.csv"), cp932(QStringLiteral(",予定1\r\n1日(木),x\r\n")));
    TMainForm& f = start();
    EXPECT_EQ(calendar(f)->boldDays(2001, 2), (1u << 2) | (1u << 13));
    EXPECT_EQ(calendar(f)->boldDays(2001, 3), 1u);
    EXPECT_EQ(calendar(f)->dateTextFormat(QDate(2001, 2, 3)).fontWeight(), QFont::Bold);
    EXPECT_NE(calendar(f)->dateTextFormat(QDate(2001, 2, 1)).fontWeight(), QFont::Bold);

    // Browsing to January 2001 marks the December shown at its edge from 2000's files.
    calendar(f)->setCurrentPage(2001, 1);
    EXPECT_EQ(calendar(f)->boldDays(2000, 12), 1u << 25);
    // And December 2001 is marked from 2001.
    calendar(f)->setCurrentPage(2001, 12);
    EXPECT_EQ(calendar(f)->boldDays(2001, 12), 1u << 24);
}

TEST_F(MainFormTest, savedDiaryBecomesBoldAndEmptiedOneLosesIt)
{
    TMainForm& f = start();
    type(memo(f, "Memo7"), QStringLiteral("書いた"));
    changeDate(QDate(2001, 2, 4));
    EXPECT_TRUE(calendar(f)->boldDays(2001, 2) & (1u << 2));
    changeDate(QDate(2001, 2, 3));
    empty(memo(f, "Memo7"));
    changeDate(QDate(2001, 2, 4));
    EXPECT_FALSE(calendar(f)->boldDays(2001, 2) & (1u << 2));
}

TEST_F(MainFormTest, gridColoursReadBackFromPixels)
{
    TMainForm& f = start();
    grid(f)->setCells(1, 4, QStringLiteral("会議★")); // Sunday 4 February 2001
    grid(f)->setCells(2, 5, QStringLiteral("☆と★"));
    grid(f)->setCells(3, 5, QStringLiteral("☆"));
    const QImage image = grid(f)->viewport()->grab().toImage();
    const auto colourAt = [&](int col, int row) {
        const QRect r = grid(f)->CellRect(col, row);
        return QColor(image.pixel(r.right() - 2, r.bottom() - 1));
    };
    EXPECT_EQ(colourAt(2, 3), QColor(220, 216, 253)); // Saturday
    EXPECT_EQ(colourAt(2, 4), QColor(255, 208, 208)); // Sunday
    EXPECT_EQ(colourAt(1, 4), QColor(115, 222, 84));  // ★ wins over Sunday
    EXPECT_EQ(colourAt(2, 5), QColor(115, 222, 84));  // ★ is entry 0 even after ☆
    EXPECT_EQ(colourAt(3, 5), QColor(181, 237, 165));
    EXPECT_NE(colourAt(0, 3), QColor(220, 216, 253)); // the day caption keeps the fixed look
    EXPECT_EQ(colourAt(1, 6), QColor(Qt::white));
}

TEST_F(MainFormTest, storedSettingsAreApplied)
{
    const QString path = ini();
    ProfileFile::put(path, QStringLiteral("Pos"), QStringLiteral("Width"), QStringLiteral("abc"));
    ProfileFile::put(path, QStringLiteral("Pos"), QStringLiteral("ActivePage"), QStringLiteral("3"));
    ProfileFile::put(path, QStringLiteral("Cal"), QStringLiteral("MarkupStr0"), QStringLiteral("◎"));
    ProfileFile::put(path, QStringLiteral("Memo"), QStringLiteral("FontStyleBold"), QStringLiteral("1"));
    ProfileFile::put(path, QStringLiteral("Memo"), QStringLiteral("FontStyleItalic"), QStringLiteral("0"));
    ProfileFile::put(path, QStringLiteral("Memo"), QStringLiteral("CharSet"), QStringLiteral("300"));
    ProfileFile::put(path, QStringLiteral("MemoFont"), QStringLiteral("prop_FontStyle"), QStringLiteral("2"));
    ProfileFile::put(path, QStringLiteral("MemoFont"), QStringLiteral("prop_FontCharset"),
                     QStringLiteral("1"));
    ProfileFile::put(path, QStringLiteral("SchItem"), QStringLiteral("item_ItemCount"), QStringLiteral("5"));
    for (int i = 0; i < 5; ++i)
        ProfileFile::put(path, QStringLiteral("SchItem"), QStringLiteral("item_Item%1").arg(i),
                         QStringLiteral("列%1").arg(i));
    ProfileFile::put(path, QStringLiteral("Sheet"), QStringLiteral("ColWidth5"), QStringLiteral("77"));

    TMainForm& f = start();
    EXPECT_EQ(f.width(), 617);
    EXPECT_EQ(pageTabs(f)->currentIndex(), 3);
    EXPECT_EQ(f.settings().markup[0].symbol, QStringLiteral("◎"));
    EXPECT_EQ(f.settings().markup[3].symbol, QStringLiteral("○"));
    EXPECT_TRUE(memo(f, "Memo7")->font().bold());
    EXPECT_FALSE(memo(f, "Memo7")->font().italic());
    EXPECT_TRUE(memo(f, "Memo1")->font().bold());
    EXPECT_EQ(f.memoFont().Charset, 1); // 300 names no character set: the font's own stays
    EXPECT_EQ(grid(f)->ColCount(), 6);
    EXPECT_EQ(grid(f)->Cells(5, 0), QStringLiteral("列4"));
    EXPECT_EQ(grid(f)->ColWidths(5), 77);

    ASSERT_TRUE(closeForm());
    EXPECT_EQ(ProfileFile::get(path, QStringLiteral("Sheet"), QStringLiteral("ColWidth5"), {}),
              QStringLiteral("77"));
    EXPECT_EQ(ProfileFile::get(path, QStringLiteral("Sheet"), QStringLiteral("ColWidth0"), {}),
              QStringLiteral("50"));
    EXPECT_EQ(ProfileFile::get(path, QStringLiteral("Pos"), QStringLiteral("ActivePage"), {}),
              QStringLiteral("3"));
    EXPECT_EQ(ProfileFile::get(path, QStringLiteral("Memo"), QStringLiteral("FontStyleBold"), {}),
              QStringLiteral("1"));
    EXPECT_EQ(ProfileFile::get(path, QStringLiteral("MemoFont"), QStringLiteral("prop_FontStyle"), {}),
              QStringLiteral("1"));
}

TEST_F(MainFormTest, emptyStoredEditorFallsBackToTheDefault)
{
    ProfileFile::put(ini(), QStringLiteral("Memo"), QStringLiteral("Editor1"), QString());
    EXPECT_EQ(start().settings().editorPath, QStringLiteral("/usr/bin/true"));
}

TEST_F(MainFormTest, missingDataFolderAsksBeforeClosing)
{
    // The folder goes away while the program runs; a folder missing at start is asked about.
    QDir(dir.path()).mkdir(QStringLiteral("gone"));
    ProfileFile::put(ini(), QStringLiteral("Data"), QStringLiteral("Folder"),
                     dir.file(QStringLiteral("gone/")));
    TMainForm& f = start();
    QDir(dir.file(QStringLiteral("gone"))).removeRecursively();
    type(memo(f, "Memo2"), QStringLiteral("大事なこと"));
    messages.answerNext(MessageService::Answer::Ok);     // the month file's error report
    messages.answerNext(MessageService::Answer::Ok);     // the ToDo page's message
    messages.answerNext(MessageService::Answer::Cancel); // the question
    EXPECT_FALSE(f.close());
    EXPECT_EQ(messages.count(QStringLiteral("エラーが発生しました。終了しますか?")), 1);
    EXPECT_EQ(messages.count(QStringLiteral("ファイル\"") + dir.file(QStringLiteral("gone/ToDo.txt")) +
                             QStringLiteral("\"は登録できませんでした。")),
              1);
    EXPECT_EQ(memo(f, "Memo2")->toPlainText(), QStringLiteral("大事なこと"));
    EXPECT_TRUE(memo(f, "Memo2")->document()->isModified());
    // The settings were still written although the month could not be.
    EXPECT_EQ(ProfileFile::get(ini(), QStringLiteral("Pos"), QStringLiteral("Width"), {}),
              QStringLiteral("617"));

    messages.clear();
    EXPECT_TRUE(closeForm()); // the queue is empty now: every box answers OK
    EXPECT_EQ(messages.count(QStringLiteral("エラーが発生しました。終了しますか?")), 1);
}

TEST_F(MainFormTest, pageThatCannotBeSavedKeepsItsTextAndDate)
{
    // The folder goes away while the program runs; a folder missing at start is asked about.
    QDir(dir.path()).mkdir(QStringLiteral("gone"));
    ProfileFile::put(ini(), QStringLiteral("Data"), QStringLiteral("Folder"),
                     dir.file(QStringLiteral("gone/")));
    TMainForm& f = start();
    QDir(dir.file(QStringLiteral("gone"))).removeRecursively();
    type(memo(f, "Memo2"), QStringLiteral("消えては困る"));
    type(memo(f, "Memo7"), QStringLiteral("日誌も"));
    messages.answerNext(MessageService::Answer::Ok);
    messages.answerNext(MessageService::Answer::Ok);
    messages.answerNext(MessageService::Answer::Cancel); // stay rather than move on
    changeDate(QDate(2001, 2, 10));
    EXPECT_EQ(messages.shown().size(), 3); // one message per page that could not be written
    EXPECT_EQ(f.selectedDate(), QDate(2001, 2, 3));
    EXPECT_EQ(memo(f, "Memo2")->toPlainText(), QStringLiteral("消えては困る"));
    EXPECT_EQ(memo(f, "Memo7")->toPlainText(), QStringLiteral("日誌も"));
    EXPECT_EQ(f.dataFile(DataFileNames::Kind::Diary), dir.file(QStringLiteral("gone/20010203.txt")));
    // Once the folder exists the same change goes through and writes both.
    QDir(dir.path()).mkdir(QStringLiteral("gone"));
    changeDate(QDate(2001, 2, 10));
    EXPECT_EQ(f.selectedDate(), QDate(2001, 2, 10));
    EXPECT_TRUE(has("gone/20010203.txt"));
    EXPECT_TRUE(has("gone/ToDo.txt"));
}

TEST_F(MainFormTest, unreadableFilesAreNeverDeletedOrOverwritten)
{
    // A folder where a file is expected cannot be read (CI runs as root, so no permission tricks).
    QDir(dir.path()).mkdir(QStringLiteral("20010203.txt"));
    QDir(dir.path()).mkdir(QStringLiteral("200103.csv"));
    TMainForm& f = start();
    EXPECT_EQ(messages.count(QStringLiteral("ファイル\"") + dir.file(QStringLiteral("20010203.txt")) +
                             QStringLiteral("\"を読み込めませんでした。")),
              1);
    changeDate(QDate(2001, 2, 4));
    EXPECT_TRUE(QFileInfo(dir.file(QStringLiteral("20010203.txt"))).isDir());

    // A new month that cannot be read: the previous date stays.
    messages.clear();
    chooseDate(f, QDate(2001, 3, 1));
    ASSERT_EQ(messages.shown().size(), 1); // the refusal is reported
    EXPECT_EQ(messages.shown().at(0).icon, MessageService::Icon::Error);
    EXPECT_TRUE(messages.texts().at(0).contains(dir.file(QStringLiteral("200103.csv"))))
        << messages.texts().at(0).toStdString();
    EXPECT_EQ(f.selectedDate(), QDate(2001, 2, 4));
    EXPECT_EQ(f.dataFile(DataFileNames::Kind::Month), folder() + QStringLiteral("200102.csv"));
    EXPECT_EQ(grid(f)->RowCount(), 29);
    EXPECT_FALSE(has("200102.csv")); // nothing was saved before the refusal
}

TEST_F(MainFormTest, unreadableMonthAtStartIsKeptUnlessEdited)
{
    QDir(dir.path()).mkdir(QStringLiteral("200102.csv"));
    TMainForm& f = start();
    EXPECT_FALSE(messages.shown().isEmpty());
    EXPECT_EQ(grid(f)->RowCount(), 29); // an empty month to work in
    messages.clear();
    ASSERT_TRUE(closeForm());
    EXPECT_TRUE(messages.shown().isEmpty()) << messages.texts().join(u'|').toStdString();
    EXPECT_TRUE(QFileInfo(dir.file(QStringLiteral("200102.csv"))).isDir());
}

TEST_F(MainFormTest, folderWithoutSeparatorStillJoinsPaths)
{
    QDir(dir.path()).mkdir(QStringLiteral("data"));
    ProfileFile::put(ini(), QStringLiteral("Data"), QStringLiteral("Folder"),
                     dir.file(QStringLiteral("data")));
    TMainForm& f = start();
    type(memo(f, "Memo7"), QStringLiteral("x"));
    ASSERT_TRUE(closeForm());
    EXPECT_TRUE(has("data/20010203.txt"));
    EXPECT_TRUE(has("data/200102.csv"));
    EXPECT_FALSE(has("data20010203.txt"));
    // The stored text stays as typed.
    EXPECT_EQ(ProfileFile::get(ini(), QStringLiteral("Data"), QStringLiteral("Folder"), {}),
              dir.file(QStringLiteral("data")));
}

TEST_F(MainFormTest, menuHintShowsInStatusBar)
{
    TMainForm& f = start();
    QStatusTipEvent tip(QStringLiteral("終了します。"));
    QCoreApplication::sendEvent(&f, &tip);
    EXPECT_EQ(f.statusBar()->currentMessage(), QStringLiteral("終了します。"));
    QStatusTipEvent none{QString()};
    QCoreApplication::sendEvent(&f, &none);
    EXPECT_TRUE(f.statusBar()->currentMessage().isEmpty());
    EXPECT_EQ(label(f, "StatusPanel")->text(), QStringLiteral("2001年02月03日"));
}

} // namespace
