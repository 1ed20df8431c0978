// What a date change reads, writes and repaints, beyond what the calendar tests see.
#include "MainFormFixture.h"

#include "controls/jvStringGrid.h"
#include "support/FileEvents.h"
#include "support/PaintEvents.h"

#include <QFile>
#include <QFileInfo>

class DateChange : public MainFormFixture {};

TEST_F(DateChange, withinTheMonthRepaintsOnlyTheCellsItMovesBetween)
{
    TMainForm& f = start();
    QTest::qWait(20);
    TjvStringGrid& grid = *MainFormParts::grid(f);
    const QRegion cells = QRegion(grid.CellRect(grid.Col(), 3).adjusted(0, 0, 1, 1)) +
                          QRegion(grid.CellRect(grid.Col(), 5).adjusted(0, 0, 1, 1));
    PaintProbe probe(grid.viewport());
    changeDate(QDate(2001, 2, 5));
    QTest::qWait(20);
    EXPECT_FALSE(probe.painted.isEmpty());
    EXPECT_EQ(probe.painted - cells, QRegion()) << "painted beyond the two cells";

    // A move that scrolls still repaints what scrolled into view.
    probe.painted = QRegion();
    changeDate(QDate(2001, 2, 28));
    QTest::qWait(20);
    EXPECT_EQ(probe.painted, QRegion(grid.viewport()->rect()));
}

// ToDo and メモ belong to no date, yet a change by another program shows at the next date change.
TEST_F(DateChange, showsToDoChangedByAnotherProgram)
{
    struct Case {
        const char* name;
        QByteArray after; // null: the file is removed
        QString shown;
    };
    const Case cases[] = {
        {"same size", "milk", QStringLiteral("milk")},
        {"longer", "milk\r\neggs", QStringLiteral("milk\neggs")},
        {"removed", QByteArray(), QString()},
    };
    for (const Case& c : cases) {
        dir.write(QStringLiteral("ToDo.txt"), "bread");
        TMainForm& f = start();
        ASSERT_EQ(memo(f, "Memo2")->toPlainText(), QStringLiteral("bread"));
        if (c.after.isNull()) {
            QFile::remove(dir.file(QStringLiteral("ToDo.txt")));
        } else {
            // Another program keeps the old time, as copying tools do.
            const QDateTime time = QFileInfo(dir.file(QStringLiteral("ToDo.txt"))).lastModified();
            dir.write(QStringLiteral("ToDo.txt"), c.after);
            QFile file(dir.file(QStringLiteral("ToDo.txt")));
            ASSERT_TRUE(file.open(QIODevice::ReadWrite));
            ASSERT_TRUE(file.setFileTime(time, QFileDevice::FileModificationTime));
        }
        changeDate(QDate(2001, 2, 4));
        EXPECT_EQ(memo(f, "Memo2")->toPlainText(), c.shown) << c.name;
        EXPECT_FALSE(memo(f, "Memo2")->document()->isModified()) << c.name;
        ASSERT_TRUE(closeForm());
        EXPECT_EQ(has("ToDo.txt"), !c.after.isNull()) << c.name;
        if (!c.after.isNull()) {
            EXPECT_EQ(file("ToDo.txt"), c.after) << c.name << ": the close wrote over it";
        }
    }
}

// An empty page of a day without a file has nothing to save: a file another program writes for
// that day meanwhile is left alone, unasked, and shown when the day comes back.
TEST_F(DateChange, leavesADayFileWrittenElsewhereWhileItsPageStoodEmpty)
{
    TMainForm& f = start();
    ASSERT_TRUE(memo(f, "Memo7")->toPlainText().isEmpty());
    dir.write(QStringLiteral("20010203.txt"), "written elsewhere");
    changeDate(QDate(2001, 2, 4));
    EXPECT_EQ(file("20010203.txt"), QByteArray("written elsewhere"));
    changeDate(QDate(2001, 2, 3));
    EXPECT_EQ(memo(f, "Memo7")->toPlainText(), QStringLiteral("written elsewhere"));
    EXPECT_TRUE(messages.shown().isEmpty());
}

// The nested run for the same date still deletes a day file that loaded empty, and a date change
// to the shown date still writes what was typed.
TEST_F(DateChange, sameDateStillSavesAndDeletes)
{
    dir.write(QStringLiteral("20010204.txt"), "");
    TMainForm& f = start();
    changeDate(QDate(2001, 2, 4));
    EXPECT_FALSE(has("20010204.txt")) << "an empty diary file stays";
    type(memo(f, "Memo7"), QStringLiteral("typed"));
    changeDate(QDate(2001, 2, 4));
    EXPECT_EQ(file("20010204.txt"), QByteArray("typed"));
    EXPECT_EQ(memo(f, "Memo7")->toPlainText(), QStringLiteral("typed"));
    EXPECT_FALSE(memo(f, "Memo7")->document()->isModified());
}

// One calendar click is one date change: the day files are read once, not again by the grid's
// move to the day's row, and a later click on that row's cell stays on the day.
TEST_F(DateChange, calendarClickReadsTheDayOnceAndTheGridFollowsQuietly)
{
    dir.write(QStringLiteral("20010220.txt"), "diary");
    TMainForm& f = start();
    QTest::qWait(20);
    FileEvents events(dir.file(QStringLiteral("20010220.txt")));
    ASSERT_TRUE(events.available());
    int clicks = 0;
    const auto click = grid(f)->OnClick;
    grid(f)->OnClick = [&](TjvStringGrid& grid) {
        ++clicks;
        click(grid);
    };
    changeDate(QDate(2001, 2, 20));
    EXPECT_EQ(events.take().opened, 1);
    EXPECT_EQ(clicks, 0) << "the grid's move ran the date change again";
    EXPECT_EQ(grid(f)->Row(), 20);
    EXPECT_EQ(memo(f, "Memo7")->toPlainText(), QStringLiteral("diary"));

    // A press on the current cell is a click on that day, not on the day shown before.
    TjvStringGrid& grid = *MainFormParts::grid(f);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.CellRect(grid.Col(), 20).center());
    EXPECT_EQ(calendar(f)->selectedDate(), QDate(2001, 2, 20));
}
