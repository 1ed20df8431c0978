#include "controls/model/CommaText.h"
#include "controls/model/GridModel.h"

#include "platform/Failure.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

QByteArray cp932(const char* bytes)
{
    return QByteArray(bytes);
}

// Every cell, with the size and fixed counts, so "unchanged" means unchanged.
struct Snapshot {
    int cols, rows, fixedCols, fixedRows, col, row;
    std::vector<QStringList> cells;
    bool operator==(const Snapshot&) const = default;
};

Snapshot snapshot(const GridModel& grid)
{
    Snapshot s{
        grid.colCount(), grid.rowCount(), grid.fixedCols(), grid.fixedRows(), grid.col(), grid.row(), {}};
    for (int r = 0; r < grid.rowCount(); ++r)
        s.cells.push_back(grid.rowCells(r));
    return s;
}

GridModel filledMonth()
{
    GridModel grid(4, 32, 1, 1);
    grid.setCell(1, 0, u"予定1"_s);
    grid.setCell(2, 0, u"予定2"_s);
    grid.setCell(3, 0, u"予定3"_s);
    for (int d = 1; d <= 31; ++d)
        grid.setCell(0, d, QString::number(d) + u"日"_s);
    grid.setCurrent(2, 7);
    return grid;
}

TEST(GridFile, savesCodePageLinesWithCrLfAndQuotedCells)
{
    TempFolder folder;
    GridModel grid(3, 2, 1, 1);
    grid.setCell(1, 0, u"予定1"_s);
    grid.setCell(2, 0, u"予定2"_s);
    grid.setCell(0, 1, u"1日(月)"_s);
    grid.setCell(1, 1, u"歯医者, 3時"_s);
    grid.setCell(2, 1, u"say \"hi\""_s);
    grid.saveToFile(folder.file(u"200101.csv"_s));
    EXPECT_EQ(folder.read(u"200101.csv"_s),
              cp932(",\x97\\\x92\xe8"
                    "1,\x97\\\x92\xe8"
                    "2\r\n"
                    "1\x93\xfa(\x8c\x8e),\"\x8e\x95\x88\xe3\x8e\xd2, 3\x8e\x9e\",\"say \"\"hi\"\"\"\r\n"));
}

// A month as the program writes it: code page 932, quoted cells, CR LF after every line.
TEST(GridFile, monthFileReadsAndWritesBackByteForByte)
{
    const QString fixture = QStringLiteral(QUAV_TEST_DATA "/grid/200102.csv");
    GridModel grid(4, 2, 1, 1);
    grid.loadFromFile(fixture);
    EXPECT_EQ(grid.colCount(), 4);
    EXPECT_EQ(grid.rowCount(), 29);
    EXPECT_EQ(grid.rowCells(0), (QStringList{QString(), u"予定1"_s, u"予定2"_s, u"予定3"_s}));
    EXPECT_EQ(grid.cell(0, 3), u"3日(土)"_s);
    EXPECT_EQ(grid.cell(1, 5), u"歯医者, 3時"_s);
    EXPECT_EQ(grid.cell(2, 9), u"\"至急\"連絡"_s);
    EXPECT_EQ(grid.cell(1, 14), u"会議 10:00"_s);
    EXPECT_EQ(grid.cell(3, 20), u"ｶﾅ半角"_s);

    TempFolder folder;
    grid.saveToFile(folder.file(u"200102.csv"_s));
    QFile original(fixture);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    EXPECT_EQ(folder.read(u"200102.csv"_s), original.readAll());
}

TEST(GridFile, quotedCellsReadBackUnchanged)
{
    TempFolder folder;
    const QStringList tricky = {u"a,b"_s, u"\"q\""_s, u" lead"_s, u"tab\there"_s, u"表示"_s, u""_s};
    GridModel grid(int(tricky.size()), 3, 1, 1);
    for (int c = 0; c < tricky.size(); ++c)
        grid.setCell(c, 2, tricky.at(c));
    grid.saveToFile(folder.file(u"m.csv"_s));

    GridModel back(2, 2, 1, 1);
    back.loadFromFile(folder.file(u"m.csv"_s));
    EXPECT_EQ(back.rowCells(2), tricky);
    EXPECT_EQ(back.colCount(), tricky.size());
    EXPECT_EQ(back.rowCount(), 3);
}

TEST(GridFile, monthOfThirtyTwoRowsWritesThirtyTwoLinesOfFourFields)
{
    TempFolder folder;
    GridModel grid = filledMonth();
    grid.setCell(0, 31, QString());
    grid.saveToFile(folder.file(u"m.csv"_s));
    const QList<QByteArray> lines = folder.read(u"m.csv"_s).split('\n');
    ASSERT_EQ(lines.size(), 33); // the last CR LF leaves an empty tail
    EXPECT_TRUE(lines.last().isEmpty());
    for (int i = 0; i < 32; ++i) {
        ASSERT_TRUE(lines[i].endsWith('\r')) << i;
        EXPECT_EQ(lines[i].count(','), 3) << i;
    }
    EXPECT_EQ(lines[31], ",,,\r");
}

TEST(GridFile, firstLineFixesColumnsAndEveryRowIsReplaced)
{
    TempFolder folder;
    folder.write(u"m.csv"_s, ",a,b\r\nx\r\n1,2,3,4,5\r\n");
    GridModel grid = filledMonth();
    grid.loadFromFile(folder.file(u"m.csv"_s));
    EXPECT_EQ(grid.colCount(), 3);
    EXPECT_EQ(grid.rowCount(), 3);
    EXPECT_EQ(grid.rowCells(0), (QStringList{QString(), u"a"_s, u"b"_s}));
    EXPECT_EQ(grid.rowCells(1), (QStringList{u"x"_s, QString(), QString()}));
    EXPECT_EQ(grid.rowCells(2), (QStringList{u"1"_s, u"2"_s, u"3"_s}));
    // Fixed counts and the current cell move only where the new size forces them.
    EXPECT_EQ(grid.fixedCols(), 1);
    EXPECT_EQ(grid.fixedRows(), 1);
    EXPECT_EQ(grid.col(), 2);
    EXPECT_EQ(grid.row(), 2);
}

TEST(GridFile, lineBreaksOfEveryKindAndNul)
{
    struct Case {
        const char* name;
        QByteArray bytes;
        std::vector<QStringList> rows;
    };
    const std::vector<Case> cases = {
        {"crlf", "a,b\r\nc,d\r\n", {{u"a"_s, u"b"_s}, {u"c"_s, u"d"_s}}},
        {"loneCrAndLf", "a,b\rc,d\ne,f", {{u"a"_s, u"b"_s}, {u"c"_s, u"d"_s}, {u"e"_s, u"f"_s}}},
        {"lfCr", "a,b\n\rc,d", {{u"a"_s, u"b"_s}, {}, {u"c"_s, u"d"_s}}},
        {"emptyLaterLine", "a,b\r\n\r\nc", {{u"a"_s, u"b"_s}, {}, {u"c"_s}}},
        {"nulEndsText", QByteArray("a,b\r\nc,d\0e,f\r\ng,h\r\n", 20), {{u"a"_s, u"b"_s}, {u"c"_s, u"d"_s}}},
        // The first row is written as "" when its only cell is empty.
        {"oneEmptyFieldFirstLine", "\"\"\r\nx,y\r\n", {{QString()}, {u"x"_s}}},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        folder.write(u"m.csv"_s, c.bytes);
        GridModel grid(7, 7, 1, 1);
        grid.loadFromFile(folder.file(u"m.csv"_s));
        ASSERT_EQ(grid.rowCount(), int(c.rows.size())) << c.name;
        for (int r = 0; r < grid.rowCount(); ++r) {
            QStringList want = c.rows[size_t(r)];
            want.resize(grid.colCount());
            EXPECT_EQ(grid.rowCells(r), want) << c.name << " row " << r;
        }
    }
}

TEST(GridFile, nothingToReadLeavesGridExactlyAsItWas)
{
    const std::vector<std::pair<const char*, QByteArray>> files = {{"empty", ""},
                                                                   {"emptyFirstLine", "\r\na,b\r\n"},
                                                                   {"blankFirstLine", " \t \r\na,b\r\n"},
                                                                   {"onlyBreak", "\n"},
                                                                   {"nulFirst", QByteArray("\0a,b", 4)}};
    TempFolder folder;
    for (const auto& [name, bytes] : files) {
        folder.write(u"m.csv"_s, bytes);
        GridModel grid = filledMonth();
        const Snapshot before = snapshot(grid);
        grid.loadFromFile(folder.file(u"m.csv"_s));
        EXPECT_TRUE(snapshot(grid) == before) << name;
    }
}

TEST(GridFile, oneFieldFileMakesOneCellGridWithoutFixedCells)
{
    TempFolder folder;
    folder.write(u"m.csv"_s, "only");
    GridModel grid = filledMonth();
    grid.loadFromFile(folder.file(u"m.csv"_s));
    EXPECT_EQ(grid.colCount(), 1);
    EXPECT_EQ(grid.rowCount(), 1);
    EXPECT_EQ(grid.fixedCols(), 0);
    EXPECT_EQ(grid.fixedRows(), 0);
    EXPECT_EQ(grid.cell(0, 0), u"only"_s);
    EXPECT_EQ(grid.col(), 0);
    EXPECT_EQ(grid.row(), 0);
}

TEST(GridFile, readFailureThrowsAndLeavesGridUnchanged)
{
    TempFolder folder;
    folder.write(u"file"_s, "x");
    const QStringList paths = {folder.file(u"missing.csv"_s), folder.path(), folder.file(u"file/m.csv"_s)};
    for (const QString& path : paths) {
        GridModel grid = filledMonth();
        const Snapshot before = snapshot(grid);
        EXPECT_THROW(grid.loadFromFile(path), EInOutError) << path.toStdString();
        EXPECT_TRUE(snapshot(grid) == before);
    }
}

TEST(GridFile, writeFailureThrowsAndKeepsWhatWasThere)
{
    TempFolder folder;
    folder.write(u"file"_s, "old");
    const GridModel grid = filledMonth();
    EXPECT_THROW(grid.saveToFile(folder.file(u"file/m.csv"_s)), EInOutError);
    EXPECT_EQ(folder.read(u"file"_s), "old");

    // A folder where the file should be stays a folder with its content.
    folder.write(u"m.csv"_s, "placeholder");
    QDir(folder.path()).rename(u"m.csv"_s, u"keep"_s);
    QDir(folder.path()).mkdir(u"m.csv"_s);
    EXPECT_THROW(grid.saveToFile(folder.file(u"m.csv"_s)), EInOutError);
    EXPECT_TRUE(QFileInfo(folder.file(u"m.csv"_s)).isDir());
}

TEST(GridFile, replacingAFileKeepsNoOldTail)
{
    TempFolder folder;
    const GridModel big = filledMonth();
    big.saveToFile(folder.file(u"m.csv"_s));
    GridModel small(2, 2, 1, 1);
    small.saveToFile(folder.file(u"m.csv"_s));
    EXPECT_EQ(folder.read(u"m.csv"_s), ",\r\n,\r\n");
}

TEST(GridFile, textOutsideTheCodePageAndUndecodableBytesSurvive)
{
    TempFolder folder;
    // An accented letter and an emoji cannot be written as code page 932.
    GridModel grid(2, 2, 1, 1);
    grid.setCell(1, 1, u"café 😀"_s);
    grid.saveToFile(folder.file(u"u.csv"_s));
    GridModel back(2, 2, 1, 1);
    back.loadFromFile(folder.file(u"u.csv"_s));
    EXPECT_EQ(back.cell(1, 1), u"café 😀"_s);

    // Bytes no table decodes come back as they were when nothing was edited.
    const QByteArray raw("\x80,\xfd\xa0,\x97\\\r\n", 9);
    folder.write(u"r.csv"_s, raw);
    GridModel odd(2, 2, 1, 1);
    odd.loadFromFile(folder.file(u"r.csv"_s));
    EXPECT_EQ(odd.colCount(), 3);
    odd.saveToFile(folder.file(u"r2.csv"_s));
    EXPECT_EQ(folder.read(u"r2.csv"_s), raw);
}

TEST(GridFile, utf8FileOfAnotherProgramIsRead)
{
    TempFolder folder;
    folder.write(u"m.csv"_s, u",予定1\r\n1日(月),会議\r\n"_s.toUtf8());
    GridModel grid(2, 2, 1, 1);
    grid.loadFromFile(folder.file(u"m.csv"_s));
    EXPECT_EQ(grid.cell(1, 0), u"予定1"_s);
    EXPECT_EQ(grid.cell(1, 1), u"会議"_s);
}

TEST(GridFile, cellWithLineBreakOrNulKeepsTheRowsInPlace)
{
    TempFolder folder;
    GridModel grid(2, 4, 1, 1);
    grid.setCell(1, 1, u"one\r\ntwo"_s);
    grid.setCell(1, 2, u"nul\0here"_s);
    grid.setCell(1, 3, u"last"_s);
    grid.saveToFile(folder.file(u"m.csv"_s));
    GridModel back(2, 2, 1, 1);
    back.loadFromFile(folder.file(u"m.csv"_s));
    ASSERT_EQ(back.rowCount(), 4);
    EXPECT_EQ(back.cell(1, 1), u"one  two"_s);
    EXPECT_EQ(back.cell(1, 2), u"nulhere"_s);
    EXPECT_EQ(back.cell(1, 3), u"last"_s);
}

} // namespace
