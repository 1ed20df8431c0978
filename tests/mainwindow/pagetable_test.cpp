// The page table against the window: what the table says of each page is what the user sees
// and what lands on disk.
#include "MainFormFixture.h"

#include "schedule/Pages.h"

#include <QTabWidget>

#include <array>

namespace {

class PageTableTest : public MainFormFixture {
protected:
    // The pages' editors and file fields by tab, as the window's layout names them.
    static std::array<QPlainTextEdit*, Pages::kCount> editors(TMainForm& f)
    {
        return {memo(f, "Memo2"), memo(f, "Memo3"), memo(f, "Memo1"), memo(f, "Memo7"), memo(f, "Memo4")};
    }
    static std::array<QString, Pages::kCount> files(const TMainForm& f)
    {
        using Kind = DataFileNames::Kind;
        return {f.dataFile(Kind::ToDo), f.dataFile(Kind::Memo), f.dataFile(Kind::Plan),
                f.dataFile(Kind::Diary), f.dataFile(Kind::Anniv)};
    }
    static QString textOf(int index) { return QStringLiteral("page %1").arg(index); }
};

const QStringList kCaptions = {QStringLiteral("ToDo"), QStringLiteral("メモ"), QStringLiteral("予定"),
                               QStringLiteral("日誌"), QStringLiteral("記念日")};
// The files of 3 February 2001 by tab.
const QStringList kFilesOfTheThird = {QStringLiteral("ToDo.txt"), QStringLiteral("Memo.txt"),
                                      QStringLiteral("Sch20010203.txt"), QStringLiteral("20010203.txt"),
                                      QStringLiteral("Anniv0203.txt")};

} // namespace

TEST_F(PageTableTest, tabsShowTheTablesPagesInOrder)
{
    TMainForm& f = start();
    ASSERT_EQ(pageTabs(f)->count(), Pages::kCount);
    const auto memos = editors(f);
    const QStringList names = {QStringLiteral("Memo2"), QStringLiteral("Memo3"), QStringLiteral("Memo1"),
                               QStringLiteral("Memo7"), QStringLiteral("Memo4")};
    for (int i = 0; i < Pages::kCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(Pages::at(i).tab, i);
        EXPECT_EQ(pageTabs(f)->tabText(i), kCaptions[i]);
        EXPECT_EQ(Pages::at(i).caption.toString(), kCaptions[i]);
        EXPECT_EQ(pageTabs(f)->widget(i), memos[size_t(i)]);
        EXPECT_EQ(memos[size_t(i)]->objectName(), names[i]);
        // The memo commands act on the page shown, and on it alone.
        pageTabs(f)->setCurrentIndex(i);
        action(f, "DateTime1")->trigger();
        for (int k = 0; k < Pages::kCount; ++k)
            EXPECT_EQ(memos[size_t(k)]->toPlainText().isEmpty(), k > i) << k;
    }
}

TEST_F(PageTableTest, eachPageIsWrittenToTheFileTheTableNames)
{
    const QDate third(2001, 2, 3);
    const QDate next(2001, 3, 10);
    TMainForm& f = start();
    const auto memos = editors(f);
    auto fields = files(f);
    for (int i = 0; i < Pages::kCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(Pages::fileName(i, third), kFilesOfTheThird[i]);
        EXPECT_EQ(fields[size_t(i)], dir.file(Pages::fileName(i, third)));
        EXPECT_EQ(Pages::at(i).dated, Pages::fileName(i, third) != Pages::fileName(i, next));
        type(memos[size_t(i)], textOf(i));
    }
    changeDate(next);
    fields = files(f);
    for (int i = 0; i < Pages::kCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(dir.read(kFilesOfTheThird[i]), textOf(i).toLatin1());
        EXPECT_EQ(fields[size_t(i)], dir.file(Pages::fileName(i, next)));
        // The undated pages keep their text; the dated ones show the new date's empty files.
        EXPECT_EQ(memos[size_t(i)]->toPlainText(), Pages::at(i).dated ? QString() : textOf(i));
    }
}

TEST_F(PageTableTest, pagesAreSavedInTheTablesOrder)
{
    for (const QString& name : kFilesOfTheThird)
        dir.write(name, "old");
    QStringList asked;
    askOutsideEdit = [&](const QString& path) {
        asked.append(path);
        return OutsideEditChoice::KeepMine;
    };
    TMainForm& f = start();
    const auto memos = editors(f);
    for (int i = 0; i < Pages::kCount; ++i) {
        type(memos[size_t(i)], textOf(i));
        dir.write(kFilesOfTheThird[i], "changed elsewhere");
    }
    changeDate(QDate(2001, 2, 4));
    const QStringList expected = {dir.file(QStringLiteral("20010203.txt")),
                                  dir.file(QStringLiteral("Sch20010203.txt")),
                                  dir.file(QStringLiteral("ToDo.txt")), dir.file(QStringLiteral("Memo.txt")),
                                  dir.file(QStringLiteral("Anniv0203.txt"))};
    EXPECT_EQ(asked, expected);
    QStringList byTable;
    for (int index : Pages::fileOrder())
        byTable.append(dir.file(Pages::fileName(index, QDate(2001, 2, 3))));
    EXPECT_EQ(byTable, expected);
    for (int i = 0; i < Pages::kCount; ++i)
        EXPECT_EQ(dir.read(kFilesOfTheThird[i]), ("old" + textOf(i)).toLatin1()) << i;
}

TEST(Pages, labelsNameThePageAndItsDate)
{
    const QDate date(2001, 2, 3);
    const QStringList expected = {QStringLiteral("ToDo"), QStringLiteral("メモ"),
                                  QStringLiteral("2001年02月03日の予定"),
                                  QStringLiteral("2001年02月03日の日誌"), QStringLiteral("02月03日の記念日")};
    for (int i = 0; i < Pages::kCount; ++i)
        EXPECT_EQ(Pages::label(i, date), expected[i]) << i;
}
