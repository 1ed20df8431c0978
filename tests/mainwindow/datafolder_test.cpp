#include "MainFormFixture.h"
#include "controls/SHBFFEX.h"
#include "controls/SHBrowseWindow.h"
#include "platform/ProfileFile.h"
#include "support/ScriptedDialogs.h"

#include <QDir>

namespace {

// The settings file lies in `dir`; the default data folder is another folder, so the tests can
// tell which one the window took.
class DataFolderTest : public MainFormFixture {
protected:
    TempFolder standard;
    ScriptedDialogs scripted;
    QStringList asked;
    DataFolderChoice answer = DataFolderChoice::UseDefault;

    DataFolderTest()
    {
        dialogs = &scripted;
        askDataFolder = [this](const QString& message) {
            asked.append(message);
            return answer;
        };
    }

    TMainForm& startWith(const QString& folder, const QString& editor = {})
    {
        ProfileFile::put(ini(), QStringLiteral("Data"), QStringLiteral("Folder"), folder);
        if (!editor.isNull())
            ProfileFile::put(ini(), QStringLiteral("Memo"), QStringLiteral("Editor1"), editor);
        MainFormEnv env = makeEnv();
        env.defaultDataFolder = standard.path() + u'/';
        form = std::make_unique<TMainForm>(env);
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        return *form;
    }

    QString stored(const char* section, const char* key) const
    {
        return ProfileFile::get(ini(), QLatin1String(section), QLatin1String(key), QStringLiteral("(none)"));
    }
};

TEST_F(DataFolderTest, windowsSettingsBesideTheirDayFilesUseThatFolderAndStayAsTheyWere)
{
    dir.write(QStringLiteral("ToDo.txt"), "Windows で書いた ToDo");
    const QString windowsFolder = QStringLiteral("C:\\Program Files\\QuavScheduler\\");
    const QString editor = QStringLiteral("C:\\WINDOWS\\notepad.exe");
    TMainForm& f = startWith(windowsFolder, editor);
    EXPECT_TRUE(asked.isEmpty());
    EXPECT_EQ(f.settings().dataFolder, folder());
    EXPECT_EQ(memo(f, "Memo2")->toPlainText(), QStringLiteral("Windows で書いた ToDo"));
    // No editor chosen: the default one runs.
    EXPECT_EQ(f.settings().editorPath, editorPath);
    type(memo(f, "Memo7"), QStringLiteral("日誌"));
    ASSERT_TRUE(closeForm());
    EXPECT_TRUE(has("20010203.txt"));
    EXPECT_EQ(stored("Data", "Folder"), windowsFolder);
    EXPECT_EQ(stored("Memo", "Editor1"), editor);
}

TEST_F(DataFolderTest, closeTheUserRefusesKeepsTheStandInsServingAndTheStoredTextsForLater)
{
    const QString windowsFolder = QStringLiteral("C:\\Program Files\\QuavScheduler\\");
    const QString editor = QStringLiteral("C:\\WINDOWS\\notepad.exe");
    dir.write(QStringLiteral("ToDo.txt"), "x"); // day files beside the settings: that folder serves
    TMainForm& f = startWith(windowsFolder, editor);
    ASSERT_EQ(f.settings().dataFolder, folder());
    // A folder where the month file goes: the close fails after the settings were stored.
    grid(f)->setCells(1, 5, QStringLiteral("予定"));
    QDir(dir.path()).mkdir(QStringLiteral("200102.csv"));
    messages.answerNext(MessageService::Answer::Ok);
    messages.answerNext(MessageService::Answer::Cancel); // stay
    EXPECT_FALSE(form->close());
    EXPECT_EQ(stored("Data", "Folder"), windowsFolder);
    EXPECT_EQ(stored("Memo", "Editor1"), editor);
    // Storing the Windows texts changed nothing the window goes on with.
    EXPECT_EQ(f.settings().dataFolder, folder());
    EXPECT_EQ(f.settings().editorPath, editorPath);
    type(memo(f, "Memo7"), QStringLiteral("残った日誌"));
    QDir(dir.path()).rmdir(QStringLiteral("200102.csv"));
    ASSERT_TRUE(closeForm());
    EXPECT_TRUE(has("20010203.txt"));
    EXPECT_TRUE(has("200102.csv"));
    EXPECT_EQ(stored("Data", "Folder"), windowsFolder);
    EXPECT_EQ(stored("Memo", "Editor1"), editor);
}

TEST_F(DataFolderTest, storedEditorIsReplacedOnlyByTheUsersChoice)
{
    dir.write(QStringLiteral("ToDo.txt"), "x");
    TMainForm& f =
        startWith(QStringLiteral("C:\\QuavScheduler\\"), QStringLiteral("C:\\WINDOWS\\notepad.exe"));
    setInSettingsDialog(f, scripted, QStringLiteral("/usr/bin/mousepad"));
    ASSERT_TRUE(closeForm());
    EXPECT_EQ(stored("Memo", "Editor1"), QStringLiteral("/usr/bin/mousepad"));
    EXPECT_EQ(stored("Data", "Folder"), QStringLiteral("C:\\QuavScheduler\\"));
}

TEST_F(DataFolderTest, missingFolderIsToldOnceAndTheDefaultServesThisRunOnly)
{
    const QString gone = dir.file(QStringLiteral("unmounted/予定/"));
    TMainForm& f = startWith(gone);
    ASSERT_EQ(asked.size(), 1);
    EXPECT_TRUE(asked.first().contains(QStringLiteral("\"") + gone + QStringLiteral("\"が見つかりません")));
    EXPECT_TRUE(asked.first().contains(standard.path()));
    EXPECT_EQ(f.settings().dataFolder, standard.path() + u'/');
    type(memo(f, "Memo2"), QStringLiteral("残す"));
    changeDate(QDate(2001, 2, 4));
    ASSERT_TRUE(closeForm());
    EXPECT_TRUE(messages.shown().isEmpty()) << messages.texts().join(u'|').toStdString();
    EXPECT_TRUE(standard.exists(QStringLiteral("ToDo.txt")));
    EXPECT_FALSE(QFileInfo::exists(dir.file(QStringLiteral("unmounted"))));
    // The disk may come back: the stored folder is kept.
    EXPECT_EQ(stored("Data", "Folder"), gone);
    EXPECT_EQ(asked.size(), 1);
}

TEST_F(DataFolderTest, pickedFolderServesAndIsStored)
{
    QDir(dir.path()).mkpath(QStringLiteral("picked"));
    answer = DataFolderChoice::Pick;
    scripted.answer([&](QDialog& dialog) {
        auto& browse = static_cast<SHBrowseWindow&>(dialog);
        EXPECT_TRUE(browse.select({BrowseTarget::Kind::Folder, dir.file(QStringLiteral("picked"))}));
        return ScriptedDialogs::pressOk(dialog);
    });
    TMainForm& f = startWith(QStringLiteral("C:\\Program Files\\QuavScheduler\\"));
    EXPECT_EQ(asked.size(), 1);
    EXPECT_TRUE(asked.first().contains(QStringLiteral("Windows")));
    EXPECT_EQ(f.settings().dataFolder, dir.file(QStringLiteral("picked/")));
    type(memo(f, "Memo2"), QStringLiteral("新しい場所"));
    ASSERT_TRUE(closeForm());
    EXPECT_TRUE(has("picked/ToDo.txt"));
    EXPECT_EQ(stored("Data", "Folder"), dir.file(QStringLiteral("picked/")));
    EXPECT_TRUE(scripted.allAnswered());
}

TEST_F(DataFolderTest, emptyValueNeverPutsFilesIntoTheCurrentFolder)
{
    TempFolder current;
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(current.path()));
    answer = DataFolderChoice::Pick;
    scripted.cancel(); // the picker closed without a folder: the default serves
    TMainForm& f = startWith(QString());
    EXPECT_EQ(asked.size(), 1);
    EXPECT_EQ(f.settings().dataFolder, standard.path() + u'/');
    type(memo(f, "Memo2"), QStringLiteral("どこへ"));
    ASSERT_TRUE(closeForm());
    QDir::setCurrent(before);
    EXPECT_TRUE(QDir(current.path()).isEmpty());
    EXPECT_TRUE(standard.exists(QStringLiteral("ToDo.txt")));
    EXPECT_EQ(stored("Data", "Folder"), QString());
}

} // namespace
