#include "MainFormFixture.h"

#include "controls/jvStringGrid.h"
#include "mainwindow/FontConvert.h"
#include "platform/AnsiText.h"
#include "platform/ProfileFile.h"

#include <QDir>
#include <QFile>
#include <QTabWidget>

namespace {

class StoredSettingsTest : public MainFormFixture {
protected:
    QString stored(const char* section, const char* key) const
    {
        return ProfileFile::get(ini(), QLatin1String(section), QLatin1String(key), QStringLiteral("<none>"));
    }
};

TEST_F(StoredSettingsTest, unreadableFontColourCostsOnlyItself)
{
    QDir(dir.path()).mkdir(QStringLiteral("notes"));
    dir.write(QStringLiteral("notes/ToDo.txt"), AnsiText::encode(QStringLiteral("大事なメモ")));
    const QString notes = dir.file(QStringLiteral("notes")) + u'/';
    ProfileFile::put(ini(), QStringLiteral("Data"), QStringLiteral("Folder"), notes);
    ProfileFile::put(ini(), QStringLiteral("Pos"), QStringLiteral("ActivePage"), QStringLiteral("1"));
    ProfileFile::put(ini(), QStringLiteral("MemoFont"), QStringLiteral("prop_FontName"),
                     QStringLiteral("IPAGothic"));
    ProfileFile::put(ini(), QStringLiteral("MemoFont"), QStringLiteral("prop_FontSize"),
                     QStringLiteral("14"));
    ProfileFile::put(ini(), QStringLiteral("MemoFont"), QStringLiteral("prop_FontColor"),
                     QStringLiteral("red"));
    ProfileFile::put(ini(), QStringLiteral("MemoFont"), QStringLiteral("prop_FontCharset"),
                     QStringLiteral("1"));

    TMainForm& f = start();
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("'red' は整数ではありません")});
    // The start-up went on: settings, pages and grid are all there.
    EXPECT_EQ(f.settings().dataFolder, notes);
    EXPECT_EQ(pageTabs(f)->currentIndex(), 1);
    EXPECT_EQ(memo(f, "Memo2")->toPlainText(), QStringLiteral("大事なメモ"));
    EXPECT_EQ(grid(f)->RowCount(), 29);
    EXPECT_EQ(f.memoFont().Name, QStringLiteral("IPAGothic"));
    EXPECT_EQ(f.memoFont().Size, 14);
    EXPECT_EQ(f.memoFont().Color, FontConvert::defaultMemoFont().Color);
    EXPECT_EQ(f.memoFont().Charset, 1);

    ASSERT_TRUE(closeForm());
    EXPECT_EQ(stored("Data", "Folder"), notes);
    EXPECT_EQ(stored("MemoFont", "prop_FontName"), QStringLiteral("IPAGothic"));
    EXPECT_EQ(stored("MemoFont", "prop_FontSize"), QStringLiteral("14"));
    EXPECT_TRUE(QFile::exists(notes + QStringLiteral("200102.csv")));
    EXPECT_EQ(messages.shown().size(), 1);
}

// A settings file as the program writes it on Windows, read through every key the program uses.
TEST_F(StoredSettingsTest, windowsSettingsFileIsReadKeyByKey)
{
    QFile fixture(QStringLiteral(QUAV_TEST_DATA "/ini/windows.ini"));
    ASSERT_TRUE(fixture.open(QIODevice::ReadOnly));
    dir.write(QStringLiteral("QuavScheduler.ini"), fixture.readAll());
    // Its folder is a Windows one and no day files lie beside it: the default folder serves.
    QString folderAsked;
    askDataFolder = [&](const QString& message) {
        folderAsked = message;
        return DataFolderChoice::UseDefault;
    };
    TMainForm& f = start();
    EXPECT_TRUE(folderAsked.contains(QStringLiteral("Windows")));
    EXPECT_EQ(f.settings().dataFolder, folder());
    EXPECT_EQ(f.columnCaptions(),
              (QStringList{QStringLiteral("予定1"), QStringLiteral("ゾーン"), QStringLiteral("能力")}));
    EXPECT_EQ(grid(f)->Cells(2, 0), QStringLiteral("ゾーン"));
    EXPECT_EQ(f.memoFont().Name, QStringLiteral("ＭＳ ゴシック"));
    EXPECT_EQ(f.memoFont().Size, 10);
    EXPECT_TRUE(f.memoFont().Style & fsBold);
    EXPECT_EQ(f.settings().startWeek, 1);
    EXPECT_EQ(pageTabs(f)->currentIndex(), 2);
    EXPECT_EQ(grid(f)->ColWidths(1), 120);
    // A Windows program cannot run here: no editor chosen, the default one serves.
    EXPECT_EQ(f.settings().editorPath, editorPath);
    EXPECT_TRUE(messages.shown().isEmpty()) << messages.texts().join(u'|').toStdString();
}

} // namespace
