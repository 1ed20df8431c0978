// The bare window is the floor the main window's benchmarks divide by: it must show what the
// main window shows for the same folder and day, or the ratios compare unlike work.
#include "BareWindow.h"

#include "controls/jvStringGrid.h"
#include "mainwindow/MainFormFixture.h"
#include "schedule/BoldDays.h"
#include "platform/AnsiText.h"

#include <QLabel>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

class BareWindowFloor : public MainFormFixture {
protected:
    void put(const char* name, const QString& text)
    {
        dir.write(QLatin1String(name), AnsiText::encode(text));
    }
};

TEST_F(BareWindowFloor, showsThePagesStatusAndRowTheMainWindowShows)
{
    put("20010210.txt", QStringLiteral("朝から雨。\r\n打ち合わせ二件。\r\n"));
    put("Sch20010210.txt", QStringLiteral("10時 会議"));
    put("Anniv0210.txt", QStringLiteral("結婚記念日"));
    dir.write(QStringLiteral("20010211.txt"), "\xEF\xBB\xBF" + QStringLiteral("絵文字 😀\r\n").toUtf8());
    put("ToDo.txt", QStringLiteral("牛乳\r\n切手\r\n"));
    put("Memo.txt", QStringLiteral("メモ\r\n\r\n最後の行"));
    start();
    BareWindow bare(folder(), now.date());

    for (int day : {10, 11, 3, 10}) {
        const QDate date(2001, 2, day);
        changeDate(date);
        bare.changeDate(date);
        SCOPED_TRACE(day);
        EXPECT_EQ(bare.pageText(BareWindow::Diary), memo(*form, "Memo7")->toPlainText());
        EXPECT_EQ(bare.pageText(BareWindow::Plan), memo(*form, "Memo1")->toPlainText());
        EXPECT_EQ(bare.pageText(BareWindow::Anniv), memo(*form, "Memo4")->toPlainText());
        EXPECT_EQ(bare.pageText(BareWindow::ToDo), memo(*form, "Memo2")->toPlainText());
        EXPECT_EQ(bare.pageText(BareWindow::Memo), memo(*form, "Memo3")->toPlainText());
        EXPECT_EQ(bare.statusText(), label(*form, "StatusPanel")->text());
        EXPECT_EQ(bare.currentRow(), grid(*form)->Row());
    }
    EXPECT_FALSE(bare.pageText(BareWindow::Diary).isEmpty());
}

TEST_F(BareWindowFloor, readsToDoAgainOnlyWhenItsSizeOrTimeChanged)
{
    put("ToDo.txt", QStringLiteral("aaaa"));
    BareWindow bare(folder(), now.date());
    struct stat before {};
    const QByteArray path = QFile::encodeName(dir.file(QStringLiteral("ToDo.txt")));
    ASSERT_EQ(::stat(path.constData(), &before), 0);

    // Same size, same time: taken as unchanged, so not read.
    put("ToDo.txt", QStringLiteral("bbbb"));
    const timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.constData(), times, 0), 0);
    bare.changeDate(QDate(2001, 2, 4));
    EXPECT_EQ(bare.pageText(BareWindow::ToDo), QStringLiteral("aaaa"));

    put("ToDo.txt", QStringLiteral("ccccc"));
    bare.changeDate(QDate(2001, 2, 5));
    EXPECT_EQ(bare.pageText(BareWindow::ToDo), QStringLiteral("ccccc"));

    QFile::remove(dir.file(QStringLiteral("ToDo.txt")));
    bare.changeDate(QDate(2001, 2, 6));
    EXPECT_EQ(bare.pageText(BareWindow::ToDo), QString());
}

TEST_F(BareWindowFloor, marksTheDaysTheProgramMarks)
{
    const struct {
        const char* name;
        quint32 day; // bit of the day the file marks in February 2001, 0 for none
    } files[] = {
        {"20010201.txt", 1u << 0}, {"Sch20010214.txt", 1u << 13}, {"Anniv0228.txt", 1u << 27},
        {"20000205.txt", 0},       {"Sch20010305.txt", 0},        {"Anniv0301.txt", 0},
        {"200102.csv", 0},         {"20010228.txt", 1u << 27},    {"ToDo.txt", 0},
    };
    quint32 expected = 0;
    for (const auto& file : files) {
        put(file.name, QStringLiteral("x"));
        expected |= file.day;
    }
    BareWindow bare(folder(), QDate(2001, 2, 3));
    EXPECT_EQ(bare.boldDays(), expected);
    EXPECT_EQ(bare.boldDays(), BoldDays::forMonth(folder(), 2001, 2));
}

} // namespace
