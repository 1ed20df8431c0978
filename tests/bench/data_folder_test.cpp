// The benchmarks' data folder must be one the program reads as its own, or they time error
// paths: every day's pages, month files whose quoted cells and day captions the grid takes as
// they are, ToDo and メモ, and no message on the way.
#include "controls/jvStringGrid.h"
#include "mainwindow/MainFormFixture.h"
#include "schedule/DayTexts.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

namespace {

const QRegularExpression
    kCell(QStringLiteral("^(会議|出張|休み|★締切|☆|●通院|○|打合せ|来客|外出|研修|■)( ([9]|1[0-8])時)?$"));

class GeneratedDataFolder : public MainFormFixture {
protected:
    void SetUp() override
    {
        if (!QFileInfo::exists(QStringLiteral("/usr/bin/python3")))
            GTEST_SKIP() << "python3 is missing";
        QProcess script;
        script.setStandardOutputFile(QProcess::nullDevice());
        script.start(QStringLiteral("/usr/bin/python3"),
                     {QStringLiteral(QUAV_MAKE_DATA_FOLDER), dir.path(), QStringLiteral("--years=1"),
                      QStringLiteral("--last-year=2001"), QStringLiteral("--diary-share=1"),
                      QStringLiteral("--plan-share=1"), QStringLiteral("--anniv-days=366"),
                      QStringLiteral("--grid-fill=1"), QStringLiteral("--seed=5")});
        ASSERT_TRUE(script.waitForFinished(60000));
        ASSERT_EQ(script.exitCode(), 0) << script.readAllStandardError().toStdString();
    }
};

TEST_F(GeneratedDataFolder, opensInTheProgramWithEveryPageAndCell)
{
    start();
    for (const QDate date : {QDate(2001, 2, 3), QDate(2001, 2, 28), QDate(2001, 12, 31)}) {
        changeDate(date);
        SCOPED_TRACE(date.toString(Qt::ISODate).toStdString());
        for (QPlainTextEdit* page : {memo(*form, "Memo1"), memo(*form, "Memo2"), memo(*form, "Memo3"),
                                     memo(*form, "Memo4"), memo(*form, "Memo7")})
            EXPECT_FALSE(page->toPlainText().isEmpty()) << page->objectName().toStdString();
        const TjvStringGrid& grid = *MainFormParts::grid(*form);
        ASSERT_EQ(grid.RowCount(), date.daysInMonth() + 1);
        for (int day = 1; day <= date.daysInMonth(); ++day) {
            EXPECT_EQ(grid.Cells(0, day), DayTexts::dayCaption(QDate(date.year(), date.month(), day)));
            // One word of the script's grid vocabulary, maybe with an hour after a blank.
            for (int col = 1; col <= 3; ++col)
                EXPECT_TRUE(kCell.match(grid.Cells(col, day)).hasMatch())
                    << day << "/" << col << ": " << grid.Cells(col, day).toStdString();
        }
    }
    EXPECT_TRUE(messages.shown().isEmpty());
}

} // namespace
