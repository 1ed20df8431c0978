#include "MainFormFixture.h"
#include "support/Eventually.h"

#include "controls/jvStringGrid.h"
#include "platform/AnsiText.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMap>
#include <QPushButton>

#include <sys/time.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int kNoticeMs = 3000; // the watch tells within a second; slack for a loaded machine

class LiveFilesTest : public MainFormFixture {
protected:
    QWidget* pageBar() const { return part<QWidget>(*form, u"PageChangedBar"_s); }
    QWidget* monthBar() const { return part<QWidget>(*form, u"MonthChangedBar"_s); }
    void choose(QWidget* bar, const char* button) const
    {
        part<QPushButton>(*bar, QLatin1String(button))->click();
    }
    QPlainTextEdit* todo() const { return memo(*form, "Memo2"); }
    // Another program writing a data file in place.
    void writeElsewhere(const QString& name, const QByteArray& bytes) const
    {
        QFile file(dir.file(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    // February 2001 as another program writes it: every day, one column, `cells` by day.
    static QByteArray february(const QMap<int, QString>& cells)
    {
        static const QString weekdays = u"日月火水木金土"_s;
        QString text = u",予定1\r\n"_s;
        for (int day = 1; day <= 28; ++day)
            text += u"%1日(%2),%3\r\n"_s.arg(day)
                        .arg(weekdays[QDate(2001, 2, day).dayOfWeek() % 7])
                        .arg(cells.value(day));
        return AnsiText::encode(text);
    }
    // "old" typed on as "old\nmine", then the file changed to "theirs": the bar is shown.
    void typeWhileChangedElsewhere()
    {
        dir.write(u"ToDo.txt"_s, "old\r\n");
        start();
        pageTabs(*form)->setCurrentWidget(todo());
        type(todo(), u"mine"_s);
        writeElsewhere(u"ToDo.txt"_s, "theirs\r\n");
        ASSERT_EVENTUALLY(pageBar()->isVisible(), kNoticeMs);
    }
    // Files in the folder besides the ones named.
    QStringList othersThan(const QStringList& known) const
    {
        QStringList others;
        for (const QString& name : QDir(dir.path()).entryList(QDir::Files))
            if (!known.contains(name) && !name.endsWith(u".ini"_s))
                others << name;
        return others;
    }
};

} // namespace

TEST_F(LiveFilesTest, anUntouchedPageFollowsItsFileAndKeepsTheCaret)
{
    dir.write(u"ToDo.txt"_s, "first line\r\nsecond\r\n");
    start();
    pageTabs(*form)->setCurrentWidget(todo());
    QTextCursor caret(todo()->document());
    caret.setPosition(2);
    caret.setPosition(8, QTextCursor::KeepAnchor);
    todo()->setTextCursor(caret);
    // Written a moment before the start: its time alone proves nothing, its bytes are the same.
    QTest::qWait(1200);
    EXPECT_EQ(todo()->textCursor().selectedText(), u"rst li"_s) << "reloaded without a change";

    writeElsewhere(u"ToDo.txt"_s, "first line\r\nsecond\r\nthird \x82\xa0\x82\xa2\r\n");
    ASSERT_EVENTUALLY_EQ(todo()->toPlainText(), u"first line\nsecond\nthird \u3042\u3044\n"_s, kNoticeMs);
    EXPECT_EQ(todo()->textCursor().anchor(), 2);
    EXPECT_EQ(todo()->textCursor().position(), 8);
    EXPECT_FALSE(todo()->document()->isModified());
    EXPECT_FALSE(pageBar()->isVisible());

    // Deleted elsewhere: the page shows what a missing file shows, and nothing is written back.
    QFile::remove(dir.file(u"ToDo.txt"_s));
    ASSERT_EVENTUALLY_EQ(todo()->toPlainText(), QString(), kNoticeMs);
    ASSERT_TRUE(closeForm());
    EXPECT_FALSE(has("ToDo.txt"));
}

TEST_F(LiveFilesTest, aChangedPageKeepsTheTypingAndTheBarOffersTheChoices)
{
    dir.write(u"ToDo.txt"_s, "old\r\n");
    start();
    pageTabs(*form)->setCurrentWidget(todo());
    type(todo(), u"mine"_s);

    // A touch, a backup tool's copy of the same bytes: no change at all.
    const QByteArray path = QFile::encodeName(dir.file(u"ToDo.txt"_s));
    ASSERT_EQ(::utimes(path.constData(), nullptr), 0);
    QTest::qWait(1200);
    EXPECT_FALSE(pageBar()->isVisible());

    writeElsewhere(u"ToDo.txt"_s, "theirs\r\n");
    ASSERT_EVENTUALLY(pageBar()->isVisible(), kNoticeMs);
    EXPECT_EQ(todo()->toPlainText(), u"old\nmine"_s) << "nothing is decided without the user";
    EXPECT_TRUE(part<QLabel>(*pageBar(), u"text"_s)->text().contains(u"ToDo.txt"_s));
    // The bar belongs to its page: another tab does not show it.
    pageTabs(*form)->setCurrentWidget(memo(*form, "Memo3"));
    EXPECT_FALSE(pageBar()->isVisible());
    pageTabs(*form)->setCurrentWidget(todo());
    EXPECT_TRUE(pageBar()->isVisible());

    // However narrow its panel, every choice stays within the bar.
    form->resize(420, form->height());
    QTest::qWait(50);
    for (const char* name : {"keepMine", "takeFile", "keepBoth"}) {
        const QRect button = part<QPushButton>(*pageBar(), QLatin1String(name))->geometry();
        EXPECT_TRUE(pageBar()->rect().contains(button)) << name;
    }
    EXPECT_LE(pageBar()->width(), todo()->width() + 8);

    choose(pageBar(), "keepBoth");
    EXPECT_FALSE(pageBar()->isVisible());
    EXPECT_EQ(todo()->toPlainText(), u"theirs\n"_s);
    const QStringList copies = othersThan({u"ToDo.txt"_s});
    ASSERT_EQ(copies.size(), 1);
    EXPECT_EQ(dir.read(copies.first()), QByteArray("old\r\nmine"));
    ASSERT_TRUE(closeForm());
    EXPECT_EQ(file("ToDo.txt"), QByteArray("theirs\r\n"));
}

TEST_F(LiveFilesTest, keepingTheScreenOverwritesAtTheSaveWithoutAskingAgain)
{
    ASSERT_NO_FATAL_FAILURE(typeWhileChangedElsewhere());
    choose(pageBar(), "keepMine");
    EXPECT_FALSE(pageBar()->isVisible());
    EXPECT_EQ(todo()->toPlainText(), u"old\nmine"_s);
    ASSERT_TRUE(closeForm()); // the fixture fails on any question about the file
    EXPECT_EQ(file("ToDo.txt"), QByteArray("old\r\nmine"));
    EXPECT_EQ(othersThan({u"ToDo.txt"_s, DataFileNames::month(now.date())}), QStringList());
}

TEST_F(LiveFilesTest, takingTheFileDropsTheTypingForTheFilesText)
{
    ASSERT_NO_FATAL_FAILURE(typeWhileChangedElsewhere());
    choose(pageBar(), "takeFile");
    EXPECT_EQ(todo()->toPlainText(), u"theirs\n"_s);
    EXPECT_FALSE(todo()->document()->isModified());
    ASSERT_TRUE(closeForm());
    EXPECT_EQ(file("ToDo.txt"), QByteArray("theirs\r\n"));
    EXPECT_EQ(othersThan({u"ToDo.txt"_s, DataFileNames::month(now.date())}), QStringList());
}

TEST_F(LiveFilesTest, theProgramsOwnSavesAreNoOutsideChange)
{
    start();
    pageTabs(*form)->setCurrentWidget(todo());
    type(todo(), u"typed"_s);
    changeDate(QDate(2001, 2, 4)); // saves the ToDo
    type(todo(), u" more"_s);
    QTest::qWait(1200);
    EXPECT_FALSE(pageBar()->isVisible());
    EXPECT_EQ(todo()->toPlainText(), u"typed more"_s);
}

TEST_F(LiveFilesTest, theMonthFollowsItsFileUntilTheUserChangesIt)
{
    start();
    TjvStringGrid* g = grid(*form);
    const QString month = form->dataFile(DataFileNames::Kind::Month);
    writeElsewhere(QFileInfo(month).fileName(), february({{3, u"会議"_s}}));
    ASSERT_EVENTUALLY_EQ(g->Cells(1, 3), u"会議"_s, kNoticeMs);
    EXPECT_EQ(g->Cells(0, 3), u"3日(土)"_s);
    EXPECT_FALSE(monthBar()->isVisible());

    g->setCells(2, 5, u"typed"_s);
    writeElsewhere(QFileInfo(month).fileName(), february({{3, u"出張"_s}}));
    ASSERT_EVENTUALLY(monthBar()->isVisible(), kNoticeMs);
    EXPECT_EQ(g->Cells(1, 3), u"会議"_s);
    EXPECT_EQ(g->Cells(2, 5), u"typed"_s);
    choose(monthBar(), "keepMine");
    ASSERT_TRUE(closeForm());
    EXPECT_TRUE(AnsiText::decode(dir.read(QFileInfo(month).fileName())).contains(u"typed"_s));
}

TEST_F(LiveFilesTest, theCalendarMarksDaysWhoseFilesAppearOrVanish)
{
    start();
    const quint32 tenth = 1u << 9;
    EXPECT_EQ(calendar(*form)->boldDays(2001, 2) & tenth, 0u);
    writeElsewhere(DataFileNames::diary(QDate(2001, 2, 10)), "diary\r\n");
    ASSERT_EVENTUALLY_EQ(calendar(*form)->boldDays(2001, 2) & tenth, tenth, kNoticeMs);
    QFile::remove(dir.file(DataFileNames::diary(QDate(2001, 2, 10))));
    ASSERT_EVENTUALLY_EQ(calendar(*form)->boldDays(2001, 2) & tenth, 0u, kNoticeMs);
}

TEST_F(LiveFilesTest, aSessionEndWithTheBarShownKeepsBothTexts)
{
    ASSERT_NO_FATAL_FAILURE(typeWhileChangedElsewhere());
    form->closeUnattended(); // a logout: nobody to answer the bar
    EXPECT_EQ(file("ToDo.txt"), QByteArray("theirs\r\n"));
    const QStringList copies = othersThan({u"ToDo.txt"_s, DataFileNames::month(now.date())});
    ASSERT_EQ(copies.size(), 1);
    EXPECT_EQ(dir.read(copies.first()), QByteArray("old\r\nmine"));
}
