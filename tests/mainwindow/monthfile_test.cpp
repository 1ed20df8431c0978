// Month files another program wrote, or left empty: what the grid shows and what is written back.
#include "MainFormFixture.h"

#include "controls/jvStringGrid.h"
#include "platform/AnsiText.h"

#include <QFile>

namespace {

QByteArray cp932(const QString& text)
{
    return AnsiText::encode(text);
}

// February 2001 with the program's captions; `rows` replaces the lines of the days it names.
QByteArray february(const QMap<int, QString>& rows,
                    const QString& captions = QStringLiteral(",予定1,予定2,予定3"))
{
    static const char16_t* days[] = {u"木", u"金", u"土", u"日", u"月", u"火", u"水"};
    QString text = captions + QStringLiteral("\r\n");
    for (int d = 1; d <= 28; ++d)
        text +=
            rows.value(d, QStringLiteral("%1日(%2),,,").arg(d).arg(QString::fromUtf16(days[(d - 1) % 7]))) +
            QStringLiteral("\r\n");
    return cp932(text);
}

class MonthFileTest : public MainFormFixture {
protected:
    ScriptedDialogs scripted;

    MonthFileTest() { dialogs = &scripted; }

    void leaveAndComeBack()
    {
        changeDate(QDate(2001, 3, 1));
        changeDate(QDate(2001, 2, 3));
    }
    QStringList lines(const char* name) const { return AnsiText::splitLines(AnsiText::decode(file(name))); }
};

TEST_F(MonthFileTest, untouchedMonthIsNeverRewrittenWhateverTheGridCannotHold)
{
    // Unquoted blanks end a field, and a first line of 100 000 fields holds far more than the
    // captions name: neither survives the grid, so an untouched month must keep its bytes.
    QString wide = QStringLiteral(",予定1,予定2,予定3");
    for (int c = 4; c < 100000; ++c)
        wide += QStringLiteral(",c") + QString::number(c);
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"blanks", february({{5, QStringLiteral("5日(月),会議 10時,資料 作成")}})},
        {"wide", february({}, wide)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dir.write(QStringLiteral("200102.csv"), c.bytes);
        TMainForm& f = start();
        leaveAndComeBack();
        EXPECT_EQ(grid(f)->ColCount(), 4);
        ASSERT_TRUE(closeForm());
        EXPECT_EQ(file("200102.csv"), c.bytes);
    }
}

TEST_F(MonthFileTest, editedMonthWritesFieldsBeyondTheColumnsBackInTheirPlaces)
{
    dir.write(QStringLiteral("200102.csv"),
              february({{1, QStringLiteral("1日(木),a,b,c,d,e")}, {2, QStringLiteral("2日(金),,,,,\"f g\"")}},
                       QStringLiteral(",予定1,予定2,予定3,x,y")));
    TMainForm& f = start();
    EXPECT_EQ(grid(f)->ColCount(), 4);
    grid(f)->setCells(2, 10, QStringLiteral("会議"));
    ASSERT_TRUE(closeForm());
    const QStringList saved = lines("200102.csv");
    ASSERT_EQ(saved.size(), 29);
    EXPECT_EQ(saved.at(0), QStringLiteral(",予定1,予定2,予定3,x,y"));
    EXPECT_EQ(saved.at(1), QStringLiteral("1日(木),a,b,c,d,e"));
    EXPECT_EQ(saved.at(2), QStringLiteral("2日(金),,,,,\"f g\""));
    EXPECT_EQ(saved.at(10), QStringLiteral("10日(土),,会議,"));

    // More captions show the kept fields in their columns; fewer keep them where they were.
    TMainForm& again = start();
    setCaptionsInDialog(again, scripted, QStringLiteral("予定1\n予定2\n予定3\n4"));
    EXPECT_EQ(grid(again)->Cells(4, 1), QStringLiteral("d"));
    EXPECT_EQ(grid(again)->Cells(4, 0), QStringLiteral("4"));
    setCaptionsInDialog(again, scripted, QStringLiteral("予定1"));
    grid(again)->setCells(1, 11, QStringLiteral("外出"));
    ASSERT_TRUE(closeForm());
    const QStringList fewer = lines("200102.csv");
    EXPECT_EQ(fewer.at(0), QStringLiteral(",予定1,,,,y"));
    EXPECT_EQ(fewer.at(1), QStringLiteral("1日(木),a,,,,e"));
    EXPECT_EQ(fewer.at(2), QStringLiteral("2日(金),,,,,\"f g\""));
    EXPECT_EQ(fewer.at(11), QStringLiteral("11日(日),外出"));
}

TEST_F(MonthFileTest, laterLineLongerThanTheFirstShowsItsFieldsInTheGridsColumns)
{
    // Two captions in the file, three in the program: the third column shows the file's field.
    dir.write(QStringLiteral("200102.csv"),
              february({{4, QStringLiteral("4日(日),a,b,c,d")}}, QStringLiteral(",予定1,予定2")));
    TMainForm& f = start();
    EXPECT_EQ(grid(f)->Cells(3, 4), QStringLiteral("c"));
    grid(f)->setCells(1, 4, QStringLiteral("A"));
    ASSERT_TRUE(closeForm());
    EXPECT_EQ(lines("200102.csv").at(4), QStringLiteral("4日(日),A,b,c,d"));
}

TEST_F(MonthFileTest, monthChangedHereAndDeletedByAnotherProgramIsWrittenAgain)
{
    TMainForm& f = start();
    grid(f)->setCells(1, 5, QStringLiteral("歯医者"));
    changeDate(QDate(2001, 3, 1));
    ASSERT_TRUE(has("200102.csv"));
    changeDate(QDate(2001, 2, 3));
    // Deleted while the month is shown again, without further typing.
    ASSERT_TRUE(QFile::remove(dir.file(QStringLiteral("200102.csv"))));
    changeDate(QDate(2001, 3, 1));
    ASSERT_TRUE(has("200102.csv"));
    EXPECT_EQ(lines("200102.csv").at(5), QStringLiteral("5日(月),歯医者,,"));

    // Deleted while being edited.
    changeDate(QDate(2001, 2, 3));
    grid(f)->setCells(2, 6, QStringLiteral("床屋"));
    ASSERT_TRUE(QFile::remove(dir.file(QStringLiteral("200102.csv"))));
    ASSERT_TRUE(closeForm());
    EXPECT_EQ(lines("200102.csv").at(6), QStringLiteral("6日(火),,床屋,"));
}

TEST_F(MonthFileTest, monthUntouchedHereThatAnotherProgramDeletesStaysDeleted)
{
    dir.write(QStringLiteral("200102.csv"), february({{5, QStringLiteral("5日(月),会議,,")}}));
    start();
    ASSERT_TRUE(QFile::remove(dir.file(QStringLiteral("200102.csv"))));
    changeDate(QDate(2001, 3, 1));
    EXPECT_FALSE(has("200102.csv"));
}

struct ShortFile {
    const char* name;
    QByteArray bytes;
};

void PrintTo(const ShortFile& file, std::ostream* out)
{
    *out << file.name;
}

class ShortMonthFile : public MonthFileTest, public ::testing::WithParamInterface<ShortFile> {};

TEST_P(ShortMonthFile, showsTheEmptyMonthWithItsFixedRowAndColumn)
{
    now = QDateTime(QDate(2001, 1, 31), QTime(9, 0));
    dir.write(QStringLiteral("200102.csv"), GetParam().bytes);
    TMainForm& f = start();
    grid(f)->setCells(1, 31, QStringLiteral("一月の予定"));
    changeDate(QDate(2001, 2, 1));
    const TjvStringGrid& grid = *MainFormParts::grid(f);
    EXPECT_EQ(grid.RowCount(), 29);
    EXPECT_EQ(grid.ColCount(), 4);
    EXPECT_EQ(grid.FixedRows(), 1);
    EXPECT_EQ(grid.FixedCols(), 1);
    EXPECT_EQ(grid.Cells(0, 1), QStringLiteral("1日(木)"));
    EXPECT_EQ(grid.Cells(1, 0), QStringLiteral("予定1"));
    for (int r = 1; r < grid.RowCount(); ++r)
        EXPECT_EQ(grid.Rows(r).mid(1).join(QString()), QString()) << r;

    // Untouched, the file stays as it was; the next month keeps its fixed cells too.
    changeDate(QDate(2001, 3, 1));
    EXPECT_EQ(file("200102.csv"), GetParam().bytes);
    EXPECT_EQ(grid.FixedRows(), 1);
    EXPECT_EQ(grid.FixedCols(), 1);
    EXPECT_EQ(grid.RowCount(), 32);

    // Typed into, it becomes February's month file, with nothing of January's.
    changeDate(QDate(2001, 2, 2));
    MainFormParts::grid(f)->setCells(1, 2, QStringLiteral("二月"));
    ASSERT_TRUE(closeForm());
    const QStringList saved = lines("200102.csv");
    ASSERT_EQ(saved.size(), 29);
    EXPECT_EQ(saved.at(0), QStringLiteral(",予定1,予定2,予定3"));
    EXPECT_EQ(saved.at(2), QStringLiteral("2日(金),二月,,"));
    EXPECT_FALSE(AnsiText::decode(file("200102.csv")).contains(QStringLiteral("一月")));
}

INSTANTIATE_TEST_SUITE_P(Files, ShortMonthFile,
                         ::testing::Values(ShortFile{"empty", ""}, ShortFile{"oneField", "x"},
                                           ShortFile{"oneLine", "x\r\n"},
                                           ShortFile{"captionsOnly", ",a,b,c,d\r\n"},
                                           ShortFile{"blankFirstLine", " \r\n1,2\r\n"}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
